#pragma once

#include "ui/operation_page.h"

namespace ui {

// An operation page whose parameter controls are not built yet: it has the common anatomy,
// header, description and template, and its buttons stay disabled.
class PendingPage : public OperationPage {
    Q_OBJECT
public:
    PendingPage(const core::Operation& operation, PageHost& host, QWidget* parent = nullptr);
};

} // namespace ui
