// A scratch folder of the test's own under the system's temporary folder, made afresh for
// each test and removed after it, with a writer for files in it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace testing_support {

class ScratchFolder : public testing::Test {
 protected:
  void SetUp() override {
    root = std::filesystem::temp_directory_path() /
           ("quarn-test-" + std::to_string(getpid()) + "-" +
            testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "-" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / base);
  }
  void TearDown() override { std::filesystem::remove_all(root); }

  // Writes the bytes to a file below base, making its folders.
  void Write(const std::filesystem::path& relative, const std::string& bytes) {
    std::filesystem::path path = root / base / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }

  std::filesystem::path root;
  std::filesystem::path base;  // the folder below root the tests work in; root itself if empty
};

// The scratch folder with a class folder "class" in it, where the tests put their logs.
class ClassFolderTest : public ScratchFolder {
 protected:
  ClassFolderTest() { base = "class"; }
};

}  // namespace testing_support
