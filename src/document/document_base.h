#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

class ViewInterface;

// A document with its list of views. Views are not owned: a view adds itself when it
// is attached and must remove itself before it is destroyed.
class DocumentBase {
  public:
    DocumentBase() = default;
    virtual ~DocumentBase() = default;
    DocumentBase(const DocumentBase&) = delete;
    DocumentBase& operator=(const DocumentBase&) = delete;

    void AddView(ViewInterface* view);
    void RemoveView(ViewInterface* view);
    std::vector<ViewInterface*> Views() const;
    // The first view of the list, or null when there is none.
    ViewInterface* FirstView() const;

    // Calls OnUpdate of every view except `sender`, in list order (user-interface
    // thread only).
    void UpdateAllViews(ViewInterface* sender, std::uint32_t hint, void* object = nullptr);

  protected:
    // Runs `action` on every view while the list is locked, so that it is safe from
    // another thread against views being removed. `action` must not call back into the
    // view list.
    void ForEachViewLocked(const std::function<void(ViewInterface&)>& action) const;

  private:
    mutable std::mutex mutex_;
    std::vector<ViewInterface*> views_;
};
