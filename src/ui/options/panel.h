#pragma once

#include <QLabel>

namespace qv {

// A raised panel that shows a caption and holds another control, in bold dark
// blue on light cyan. Its access key moves the focus to the control it holds,
// and a screen reader hears its caption as that control's label.
class Panel final : public QLabel {
    Q_OBJECT
public:
    Panel(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
          Qt::Alignment alignment);

    // The panel holds control: the caption's access key gives it the focus, and
    // where the caption leaves a gap of blanks for it, the words before the
    // gap are narrowed until they end left of it; a screen reader hears those
    // words as the control's label and the words after the gap after its
    // value.
    void hold(QWidget* control);
};

// The colours and font the panels and their labels share.
void usePanelLook(QLabel& label);

}  // namespace qv
