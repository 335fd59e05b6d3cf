#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

class DocumentView;

// A document with its list of views. Views are not owned: a view adds itself when it
// is attached and must remove itself before it is destroyed.
class ViewList {
  public:
    ViewList() = default;
    virtual ~ViewList() = default;
    ViewList(const ViewList&) = delete;
    ViewList& operator=(const ViewList&) = delete;

    void AddView(DocumentView* view);
    void RemoveView(DocumentView* view);
    std::vector<DocumentView*> Views() const;
    // The first view of the list, or null when there is none.
    DocumentView* FirstView() const;

    // Calls ShowChanges of every view, in list order (user-interface thread only).
    void UpdateViews(std::uint32_t hint);

  protected:
    // Runs `action` on every view while the list is locked, so that it is safe from
    // another thread against views being removed. `action` must not call back into the
    // view list.
    void ForEachViewLocked(const std::function<void(DocumentView&)>& action) const;

  private:
    mutable std::mutex mutex_;
    std::vector<DocumentView*> views_;
};
