#include "document/view_list.h"

#include <algorithm>

#include "document/document_view.h"

void ViewList::AddView(DocumentView* view) {
    std::lock_guard lock(mutex_);
    if (view != nullptr && std::find(views_.begin(), views_.end(), view) == views_.end()) {
        views_.push_back(view);
    }
}

void ViewList::RemoveView(DocumentView* view) {
    std::lock_guard lock(mutex_);
    std::erase(views_, view);
}

std::vector<DocumentView*> ViewList::Views() const {
    std::lock_guard lock(mutex_);
    return views_;
}

DocumentView* ViewList::FirstView() const {
    std::lock_guard lock(mutex_);
    return views_.empty() ? nullptr : views_.front();
}

void ViewList::UpdateViews(std::uint32_t hint) {
    // A copy, so that a view's ShowChanges may use the document (and its view list).
    for (DocumentView* view : Views()) {
        view->ShowChanges(hint);
    }
}

void ViewList::ForEachViewLocked(const std::function<void(DocumentView&)>& action) const {
    std::lock_guard lock(mutex_);
    for (DocumentView* view : views_) {
        action(*view);
    }
}
