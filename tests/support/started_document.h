#pragma once

#include "document/imager_document.h"
#include "link/imager_link.h"

class MessageBoxService;
class UpdateNotifier;

// A document as the program has it after start-up, on a link that is never opened: no
// serial device and no thread. Shut down (settings file written) at the end.
class StartedDocument {
  public:
    StartedDocument(MessageBoxService* messages, UpdateNotifier* notifier)
        : document_(messages, notifier, link_) {
        document_.StartUp();
    }
    ~StartedDocument() { document_.ShutDown(); }
    StartedDocument(const StartedDocument&) = delete;
    StartedDocument& operator=(const StartedDocument&) = delete;

    ImagerDocument& Document() { return document_; }
    ImagerLink& Link() { return link_; }

  private:
    ImagerLink link_{nullptr};
    ImagerDocument document_;
};
