#include "retrieval/HttpsModule.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace nimbrel {
namespace {

// A module that is missing or not a module fails the run's connect with a message naming it.
TEST(HttpsModule, MissingOrBrokenModuleFailsTheConnectWithItsName) {
    struct Case {
        const char* name;
        const char* moduleContent; // null: no module in the folder
        std::string message;       // the start of the message
    };
    const testing::TempFolder folder;
    const std::string path = folder.File(HttpsModuleFileName());
    const Case cases[] = {
        {"missing", nullptr,
         "Reports cannot be fetched over HTTPS: the module " + HttpsModuleFileName() +
             " is not installed (looked for in " + folder.Path().string() + ")."},
        {"not a module", "text", "The HTTPS module " + path + " cannot be loaded: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.moduleContent != nullptr) {
            testing::WriteFile(path, c.moduleContent);
        }
        const auto source = MakeHttpsSource({"127.0.0.1", 443, ""}, {folder.Path()});
        try {
            source->Connect();
            ADD_FAILURE() << "connected without a module";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()).rfind(c.message, 0), 0u) << error.what();
        }
        source->Disconnect();
    }
}

} // namespace
} // namespace nimbrel
