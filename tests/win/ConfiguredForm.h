#pragma once
// The main window with a kelvory.ini beside this test program, where the
// launcher looks for it, created hidden with a recorder in place of the shell.
#include "Application.h"
#include "Unit1.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvory::test {

class ConfiguredFormTest : public testing::Test {
protected:
    const std::wstring ini = OwnFolder() + L"kelvory.ini";
    Application application{GetModuleHandleW(nullptr)};
    std::vector<LaunchRequest> launched;
    std::unique_ptr<TForm1> form;

    void TearDown() override
    {
        form.reset();
        DeleteFileW(ini.c_str());
    }

    void Configure(std::string_view text) { ASSERT_TRUE(WriteFileBytes(ini, text)); }

    void CreateForm()
    {
        form = std::make_unique<TForm1>(application, [this](const LaunchRequest& r) { launched.push_back(r); });
    }
};

} // namespace kelvory::test
