#include "document/document_base.h"

#include <algorithm>

#include "document/view_interface.h"

void DocumentBase::AddView(ViewInterface* view) {
    std::lock_guard lock(mutex_);
    if (view != nullptr && std::find(views_.begin(), views_.end(), view) == views_.end()) {
        views_.push_back(view);
    }
}

void DocumentBase::RemoveView(ViewInterface* view) {
    std::lock_guard lock(mutex_);
    std::erase(views_, view);
}

std::vector<ViewInterface*> DocumentBase::Views() const {
    std::lock_guard lock(mutex_);
    return views_;
}

ViewInterface* DocumentBase::FirstView() const {
    std::lock_guard lock(mutex_);
    return views_.empty() ? nullptr : views_.front();
}

void DocumentBase::UpdateAllViews(ViewInterface* sender, std::uint32_t hint, void* object) {
    // A copy, so that a view's OnUpdate may use the document (and its view list).
    for (ViewInterface* view : Views()) {
        if (view != sender) {
            view->OnUpdate(sender, hint, object);
        }
    }
}

void DocumentBase::ForEachViewLocked(const std::function<void(ViewInterface&)>& action) const {
    std::lock_guard lock(mutex_);
    for (ViewInterface* view : views_) {
        action(*view);
    }
}
