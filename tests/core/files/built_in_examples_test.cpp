// The examples built into the program are the files of examples/, every one of them, as
// "Laden" reads them.
#include "files/built_in_examples.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "files/data_file.h"
#include "files/program_file.h"

namespace quarzel {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::u8path(QUARZEL_EXAMPLES_DIR);

TEST(BuiltInExamples, EachIsItsFilesAsLoadReadsThem) {
    for (const BuiltInExample& example : builtInExamples()) {
        const fs::path base = kExamples / fs::u8path(example.name);
        EXPECT_EQ(example.program, readProgramFile(base.u8string() + ".prg")) << example.name;
        const fs::path data = base.u8string() + ".dta";
        ASSERT_EQ(example.data.has_value(), fs::exists(data)) << example.name;
        if (example.data) {
            EXPECT_EQ(*example.data, readDataFileText(data.u8string())) << example.name;
        }
    }
}

// A program added to examples/ is offered in the list too; the teachers' task material is not.
TEST(BuiltInExamples, EveryShippedExampleIsListedOnce) {
    std::set<std::string> listed;
    for (const BuiltInExample& example : builtInExamples()) {
        EXPECT_TRUE(listed.insert(example.name).second) << "twice: " << example.name;
    }
    std::set<std::string> shipped;
    for (const auto& entry : fs::recursive_directory_iterator(kExamples)) {
        const fs::path relative = entry.path().lexically_relative(kExamples);
        if (entry.path().extension() == ".prg" && *relative.begin() != "aufgaben") {
            shipped.insert((relative.parent_path() / relative.stem()).generic_u8string());
        }
    }
    EXPECT_EQ(listed, shipped);
}

}  // namespace
}  // namespace quarzel
