#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qv {

class Forms;
class Panel;
class TabControl;
class TitledFrame;

// The options dialog: eleven of the settings over three pages. Created at each
// opening and destroyed when it closes. Any OKAY button stores every page and
// closes; closing it any other way stores nothing.
class options final : public QWidget {
    Q_OBJECT
public:
    explicit options(Forms& forms);
    ~options() override;

    // Shows the dialog modally over owner; returns once it has closed.
    void showAsDialog(QWidget* owner);

    void setuplist();
    void changebackcheck_click();
    void okaybutglobal_click();
    void okayclose2_click();
    void okayclose3_click();
    void okay();

    TabControl* vaTabPro1 = nullptr;

    // "&Global Options"
    TitledFrame* SSFrame1 = nullptr;
    QCheckBox* changebackcheck = nullptr;
    Panel* changelabel = nullptr;
    QComboBox* backlistcount = nullptr;
    QLabel* piclabel = nullptr;
    TitledFrame* SSFrame4 = nullptr;
    QRadioButton* standardopt = nullptr;
    QRadioButton* plasticopt = nullptr;
    TitledFrame* SSFrame6 = nullptr;
    QCheckBox* playmusiccheck = nullptr;
    QPushButton* okaybutglobal = nullptr;

    // "&Learn Options"
    TitledFrame* SSFrame2 = nullptr;
    QCheckBox* usesamecheck = nullptr;
    Panel* SSPanel3 = nullptr;
    QComboBox* repeatobj = nullptr;
    TitledFrame* SSFrame5 = nullptr;
    QRadioButton* timeropt = nullptr;
    QRadioButton* keyboardopt = nullptr;
    TitledFrame* SSFrame3 = nullptr;
    Panel* SSPanel1 = nullptr;
    QComboBox* fxspeedlist = nullptr;
    QPushButton* okayclose2 = nullptr;

    // "&Play Options"
    TitledFrame* SSFrame7 = nullptr;
    QCheckBox* playusessameobject = nullptr;
    TitledFrame* SSFrame9 = nullptr;
    QCheckBox* repeatoption = nullptr;
    TitledFrame* SSFrame8 = nullptr;
    Panel* SSPanel2 = nullptr;
    QComboBox* Playfxspeedlist = nullptr;
    QPushButton* okayclose3 = nullptr;

    // The client area's size.
    static constexpr QSize kClientSize{520, 411};

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildGlobalPage(QWidget* page);
    void buildLearnPage(QWidget* page);
    void buildPlayPage(QWidget* page);
    void setTabOrderOfControls();
    void Form_Load();

    Forms& forms_;
};

}  // namespace qv
