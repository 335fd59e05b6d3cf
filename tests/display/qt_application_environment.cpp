// The application object exists before the first test: widget and text tests need it.
#include <gtest/gtest.h>

#include "support/test_application.h"

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { TestApplication(); }
};

[[maybe_unused]] const ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
