#pragma once
// The window's page for each operation the program offers: one row per page, read when the
// window is built.

#include "ui/operation_page.h"

#include <span>

namespace app {

struct PageFactory {
    int page;
    ui::OperationPage* (*make)(const core::OperationDefinition& definition, ui::PageHost& host);
};

std::span<const PageFactory> pageFactories();

// The factory of a page; nullptr when the page has none.
const PageFactory* pageFactory(int page);

} // namespace app
