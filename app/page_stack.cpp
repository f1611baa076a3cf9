#include "app/page_stack.h"

namespace app {

PageStack::PageStack(QWidget* parent) : QStackedWidget(parent) {
    connect(this, &QStackedWidget::currentChanged, this, &PageStack::sizeToShownPage);
}

void PageStack::addPage(QWidget* page) {
    addWidget(page);
    sizeToShownPage(currentIndex());
}

// No height for width: the scroll area would take it (a page's preferred height, of every page
// in QStackedWidget's own answer) for the room the content needs, and scroll a window that holds
// the shown page at its minimum size. Word-wrapped texts in a page still wrap to its width.
bool PageStack::hasHeightForWidth() const {
    return false;
}

// The minimum size: a hidden page's is left out by giving it the ignored size policy.
void PageStack::sizeToShownPage(int shown) {
    for (int i = 0; i < count(); ++i) {
        const auto policy = i == shown ? QSizePolicy::Preferred : QSizePolicy::Ignored;
        widget(i)->setSizePolicy(policy, policy);
    }
    updateGeometry();
}

} // namespace app
