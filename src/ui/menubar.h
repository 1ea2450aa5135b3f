#pragma once

#include <QMenuBar>

namespace qv {

// The windows' menu bar.
// - One unbroken line along its bottom edge at any scale: the desktop style
//   draws that line item by item, and on a scaled screen each piece stops a
//   pixel short, which leaves a notch after every caption.
// - While it holds the keys (after Alt, or Escape from one of its menus),
//   the title that Down or Return would open is marked as the title of an
//   open menu is, where the style itself marks nothing.
// - Once it lets the keys go (Escape, Alt again, a command chosen) they go
//   back to the window, also when no control of the window had them before:
//   the toolkit would leave them with the bar, which then does nothing with
//   them.
class MenuBar final : public QMenuBar {
    Q_OBJECT
public:
    explicit MenuBar(QWidget* parent = nullptr);

    // The title the keys are on, while the bar holds them and no menu of it
    // is open; null otherwise.
    QAction* keyboardChoice() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void giveBackKeysWhenDone();
    bool menuOpen() const;

    // Watches the keys while the bar has the focus.
    QObject* keyWatch_ = nullptr;
};

}  // namespace qv
