// Keeps OLE initialised for the whole test program, as hosts do: each Frame then only counts its
// own initialisation instead of loading and unloading OLE every time.
#include <gtest/gtest.h>
#include <ole2.h>

namespace {

class OleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { OleInitialize(nullptr); }
    void TearDown() override { OleUninitialize(); }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

}  // namespace
