#include "document/view_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/document_view.h"

namespace {

class NamedView : public DocumentView {
  public:
    NamedView(std::string name, std::vector<std::string>& log)
        : name_(std::move(name)), log_(log) {}
    void ShowChanges(std::uint32_t hint) override {
        log_.push_back(name_ + ":" + std::to_string(hint));
    }
    bool InterpolatedMode() const override { return false; }
    void SetInterpolatedMode(bool) override {}
    bool EdgeRepairFlag() const override { return false; }
    void SetEdgeRepairFlag(bool) override {}
    void SetEdgeRepaired(bool) override {}

  private:
    std::string name_;
    std::vector<std::string>& log_;
};

TEST(ViewListTest, UpdatesEveryViewOnceInListOrder) {
    std::vector<std::string> log;
    NamedView a("a", log), b("b", log), c("c", log);
    ViewList document;
    document.AddView(&a);
    document.AddView(&b);
    document.AddView(&c);
    document.AddView(&a);  // already attached
    document.UpdateViews(4);
    document.UpdateViews(32);
    EXPECT_EQ(log, (std::vector<std::string>{"a:4", "b:4", "c:4", "a:32", "b:32", "c:32"}));
}

TEST(ViewListTest, FirstViewFollowsAdditionsAndRemovals) {
    std::vector<std::string> log;
    NamedView a("a", log), b("b", log);
    ViewList document;
    EXPECT_EQ(document.FirstView(), nullptr);
    document.AddView(&a);
    document.AddView(&b);
    EXPECT_EQ(document.FirstView(), &a);
    document.RemoveView(&a);
    EXPECT_EQ(document.FirstView(), &b);
    document.RemoveView(&b);
    document.UpdateViews(1);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(document.Views().empty());
}

}  // namespace
