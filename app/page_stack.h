#pragma once
// The stack of the window's pages, asking for the room of the page shown only: the window
// scrolls on a page whose content it cannot hold, not on every page because one is tall.

#include <QStackedWidget>

namespace app {

class PageStack : public QStackedWidget {
    Q_OBJECT
public:
    explicit PageStack(QWidget* parent = nullptr);
    // Adds a page, hidden unless it is the first: its room counts only while it is shown.
    void addPage(QWidget* page);

    bool hasHeightForWidth() const override;

private:
    void sizeToShownPage(int shown);
};

} // namespace app
