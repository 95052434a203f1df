// The main window's keys: which command each accelerator reaches, and the editing keys in a field.
#include "FrameFixture.h"

#include <QClipboard>

using namespace vl;
using vltest::FrameTest;
using vltest::Target;
using vltest::TestPage;

namespace
{

struct KeyCase {
    const char* name;
    int pageId; // the page on show; the focus rests on a button of it
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int id; // the command the key must reach
    Target target;
};

void PrintTo(const KeyCase& c, std::ostream* os)
{
    *os << c.name;
}

class FrameKeys : public FrameTest, public ::testing::WithParamInterface<KeyCase>
{
};

QWidget* FocusTargetOf(CPage* page)
{
    // A push button takes none of these keys itself, so every one is left to the window.
    if (auto* testPage = dynamic_cast<vltest::TestPage*>(page))
        return testPage->m_button;
    return page->findChild<QPushButton*>(QStringLiteral("backButton"));
}

} // namespace

TEST_P(FrameKeys, ReachesItsCommandOnly)
{
    const KeyCase& c = GetParam();
    ShowActive();
    if (c.pageId != kGeneralPageId)
        m_frame->SwitchPage(c.pageId);
    ASSERT_EQ(m_frame->CurrentPageId(), c.pageId);
    QWidget* focus = FocusTargetOf(m_frame->CurrentPage());
    ASSERT_NE(focus, nullptr);
    focus->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), focus);

    QTest::keyClick(focus, c.key, c.modifiers);

    ExpectRanOnlyAt(c.target, c.id);
    EXPECT_EQ(m_frame->CurrentPageId(), c.pageId);
}

constexpr auto kNone = Qt::NoModifier;
constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kShift = Qt::ShiftModifier;
constexpr auto kAlt = Qt::AltModifier;

INSTANTIATE_TEST_SUITE_P(
    Accelerators, FrameKeys,
    ::testing::Values(
        KeyCase{"CtrlN_New", kGeneralPageId, Qt::Key_N, kCtrl, cmd::kFileNew, Target::Application},
        KeyCase{"CtrlO_Open", kGeneralPageId, Qt::Key_O, kCtrl, cmd::kFileOpen, Target::Application},
        KeyCase{"CtrlS_Save", kGeneralPageId, Qt::Key_S, kCtrl, cmd::kFileSave, Target::Document},
        KeyCase{"CtrlS_SaveFromMisc", kMiscPageId, Qt::Key_S, kCtrl, cmd::kFileSave, Target::Document},
        KeyCase{"F5_Preview", kGeneralPageId, Qt::Key_F5, kNone, cmd::kPreview, Target::Document},
        KeyCase{"F5_PreviewFromProduct", kProductPageId, Qt::Key_F5, kNone, cmd::kPreview, Target::Document},
        KeyCase{"F1_HelpContents", kGeneralPageId, Qt::Key_F1, kNone, cmd::kHelpContents,
                Target::Application},
        KeyCase{"ShiftF1_Nothing", kGeneralPageId, Qt::Key_F1, kShift, 0, Target::None},
        KeyCase{"CtrlF1_Nothing", kGeneralPageId, Qt::Key_F1, kCtrl, 0, Target::None},
        KeyCase{"CtrlC_Copy", kGeneralPageId, Qt::Key_C, kCtrl, cmd::kEditCopy, Target::Page},
        KeyCase{"CtrlInsert_Copy", kGeneralPageId, Qt::Key_Insert, kCtrl, cmd::kEditCopy, Target::Page},
        KeyCase{"CtrlV_Paste", kGeneralPageId, Qt::Key_V, kCtrl, cmd::kEditPaste, Target::Page},
        KeyCase{"ShiftInsert_Paste", kProductPageId, Qt::Key_Insert, kShift, cmd::kEditPaste, Target::Page},
        KeyCase{"CtrlX_Cut", kGeneralPageId, Qt::Key_X, kCtrl, cmd::kEditCut, Target::Page},
        KeyCase{"ShiftDelete_Cut", kGeneralPageId, Qt::Key_Delete, kShift, cmd::kEditCut, Target::Page},
        KeyCase{"CtrlZ_Undo", kGeneralPageId, Qt::Key_Z, kCtrl, cmd::kEditUndo, Target::Page},
        KeyCase{"AltBackspace_Undo", kProductPageId, Qt::Key_Backspace, kAlt, cmd::kEditUndo, Target::Page},
        KeyCase{"F2_RenameOnProduct", kProductPageId, Qt::Key_F2, kNone, cmd::kEditRename, Target::Page},
        KeyCase{"F2_NothingOnGeneral", kGeneralPageId, Qt::Key_F2, kNone, 0, Target::None},
        KeyCase{"F2_NothingOnMisc", kMiscPageId, Qt::Key_F2, kNone, 0, Target::None},
        KeyCase{"CtrlC_NothingOnMisc", kMiscPageId, Qt::Key_C, kCtrl, 0, Target::None},
        KeyCase{"F6_Nothing", kGeneralPageId, Qt::Key_F6, kNone, 0, Target::None},
        KeyCase{"ShiftF6_Nothing", kProductPageId, Qt::Key_F6, kShift, 0, Target::None},
        KeyCase{"Insert_NotAdd", kProductPageId, Qt::Key_Insert, kNone, 0, Target::None},
        KeyCase{"Delete_NotRemove", kProductPageId, Qt::Key_Delete, kNone, 0, Target::None}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

namespace
{

struct EditKeyCase {
    const char* name;
    Qt::Key key; // Qt::Key_unknown: the Edit menu's item instead of a key
    Qt::KeyboardModifiers modifiers;
    int id;
    const char* field;     // afterwards
    const char* clipboard; // afterwards
};

void PrintTo(const EditKeyCase& c, std::ostream* os)
{
    *os << c.name;
}

class FrameEditKeys : public FrameTest, public ::testing::WithParamInterface<EditKeyCase>
{
};

} // namespace

// Every way to Copy, Cut, Paste or Undo leaves the field and the clipboard alike. The field holds
// "abc", then "xy" is typed and selected; the clipboard holds "XYZ".
TEST_P(FrameEditKeys, ActsOnTheFocusedField)
{
    const EditKeyCase& c = GetParam();
    ShowActive();
    QLineEdit* field = Page(kGeneralPageId)->m_field;
    field->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), field);
    QApplication::clipboard()->setText(QStringLiteral("XYZ"));
    field->setText(QStringLiteral("abc"));
    field->end(false);
    QTest::keyClicks(field, QStringLiteral("xy"));
    field->setSelection(5, -2);
    ASSERT_EQ(field->selectedText(), QStringLiteral("xy"));

    if (c.key == Qt::Key_unknown) {
        m_frame->UpdateCommands();
        Action(c.id)->trigger();
    } else {
        QTest::keyClick(field, c.key, c.modifiers);
    }
    EXPECT_EQ(field->text(), QString::fromLatin1(c.field));
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromLatin1(c.clipboard));
}

INSTANTIATE_TEST_SUITE_P(
    Field, FrameEditKeys,
    ::testing::Values(EditKeyCase{"CtrlC", Qt::Key_C, kCtrl, cmd::kEditCopy, "abcxy", "xy"},
                      EditKeyCase{"CtrlInsert", Qt::Key_Insert, kCtrl, cmd::kEditCopy, "abcxy", "xy"},
                      EditKeyCase{"MenuCopy", Qt::Key_unknown, kNone, cmd::kEditCopy, "abcxy", "xy"},
                      EditKeyCase{"CtrlX", Qt::Key_X, kCtrl, cmd::kEditCut, "abc", "xy"},
                      EditKeyCase{"ShiftDelete", Qt::Key_Delete, kShift, cmd::kEditCut, "abc", "xy"},
                      EditKeyCase{"MenuCut", Qt::Key_unknown, kNone, cmd::kEditCut, "abc", "xy"},
                      EditKeyCase{"CtrlV", Qt::Key_V, kCtrl, cmd::kEditPaste, "abcXYZ", "XYZ"},
                      EditKeyCase{"ShiftInsert", Qt::Key_Insert, kShift, cmd::kEditPaste, "abcXYZ", "XYZ"},
                      EditKeyCase{"MenuPaste", Qt::Key_unknown, kNone, cmd::kEditPaste, "abcXYZ", "XYZ"},
                      EditKeyCase{"CtrlZ", Qt::Key_Z, kCtrl, cmd::kEditUndo, "abc", "XYZ"},
                      EditKeyCase{"AltBackspace", Qt::Key_Backspace, kAlt, cmd::kEditUndo, "abc", "XYZ"},
                      EditKeyCase{"MenuUndo", Qt::Key_unknown, kNone, cmd::kEditUndo, "abc", "XYZ"}),
    [](const ::testing::TestParamInfo<EditKeyCase>& info) { return std::string(info.param.name); });
