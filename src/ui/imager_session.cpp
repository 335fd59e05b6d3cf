#include "ui/imager_session.h"

ImagerSession::ImagerSession(MessageBoxService* messages, UpdateNotifier* notifier)
    : link_(&document_),
      document_(messages, notifier, link_),
      acquisition_(frameSource_, document_.SharedPicture(), &document_) {}

ImagerSession::~ImagerSession() {
    Stop();
}

bool ImagerSession::OpenPort() {
    return link_.Open();
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
