#pragma once
// A test's own Integrador folders (Input and Output below a fresh temporary root, removed at the
// end) and the shared state a back-end reads its request identifier from.

#include "access/integrador_folders.h"
#include "core/shared_state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

class IntegradorFolderTest : public testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("tarvik-integrador-" + std::to_string(std::random_device{}()));
        folders = backend::integradorFoldersUnder(root);
        state.requestIdentifier = "00012345";
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    std::filesystem::path root;
    backend::IntegradorFolders folders;
    core::SharedState state;
};
