#include "ui/imager_session.h"

ImagerSession::ImagerSession(MessageBoxService* messages, UpdateNotifier* notifier)
    : link_(&document_),
      document_(messages, notifier, link_),
      acquisition_(frameSource_, document_.SharedPicture(), &document_) {}

ImagerSession::~ImagerSession() {
    Stop();
}

bool ImagerSession::OpenPort(const std::filesystem::path& device) {
    return device.empty() ? link_.Open() : link_.Open(device);
}

void ImagerSession::Start() {
    document_.StartUp();
    acquisition_.Start();
    running_ = true;
}

void ImagerSession::Stop() {
    if (!running_) {
        link_.Close();
        return;
    }
    running_ = false;
    acquisition_.Stop();
    document_.ShutDown();
    link_.Close();
}
