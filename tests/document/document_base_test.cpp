#include "document/document_base.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/view_interface.h"

namespace {

class NamedView : public ViewInterface {
  public:
    NamedView(std::string name, std::vector<std::string>& log)
        : name_(std::move(name)), log_(log) {}
    void OnUpdate(ViewInterface*, std::uint32_t hint, void*) override {
        log_.push_back(name_ + ":" + std::to_string(hint));
    }
    bool GetInterpolatedMode() const override { return false; }
    void SetInterpolatedMode(bool) override {}
    bool GetEdgeRepairFlag() const override { return false; }
    void SetEdgeRepairFlag(bool) override {}
    void SetEdgeRepaired(bool) override {}

  private:
    std::string name_;
    std::vector<std::string>& log_;
};

TEST(DocumentBaseTest, UpdatesEveryViewButTheSenderInListOrder) {
    std::vector<std::string> log;
    NamedView a("a", log), b("b", log), c("c", log);
    DocumentBase document;
    document.AddView(&a);
    document.AddView(&b);
    document.AddView(&c);
    document.AddView(&a);  // already attached
    document.UpdateAllViews(nullptr, 4);
    document.UpdateAllViews(&b, 32);
    EXPECT_EQ(log, (std::vector<std::string>{"a:4", "b:4", "c:4", "a:32", "c:32"}));
}

TEST(DocumentBaseTest, FirstViewFollowsAdditionsAndRemovals) {
    std::vector<std::string> log;
    NamedView a("a", log), b("b", log);
    DocumentBase document;
    EXPECT_EQ(document.FirstView(), nullptr);
    document.AddView(&a);
    document.AddView(&b);
    EXPECT_EQ(document.FirstView(), &a);
    document.RemoveView(&a);
    EXPECT_EQ(document.FirstView(), &b);
    document.RemoveView(&b);
    document.UpdateAllViews(nullptr, 1);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(document.Views().empty());
}

}  // namespace
