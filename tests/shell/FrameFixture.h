// A main frame built with stand-in pages and recording command targets, shared by the shell tests.
#pragma once

#include "../support/GuiTest.h"

#include "document/CommandIds.h"
#include "pages/CVLMiscView.h"
#include "shell/CMainFrame.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <memory>
#include <set>

namespace vltest
{

// Where a command must arrive; Frame commands change the window itself.
enum class Target { None, Page, Document, Application, Frame };

// The commands that ran, where. Kept in standard vectors: Qt 6.4's QList comparison hands memcmp a
// null pointer for empty lists, which the undefined-behaviour sanitizer reports.
using Ran = std::vector<std::pair<Target, int>>;

// Stands in for the General and Product pages: a button, a commit that can refuse, and the
// commands the real pages handle (Undo, Cut, Copy, Paste on both; the entry commands on Product).
class TestPage : public vl::CPage
{
  public:
    TestPage(int pageId, vl::PageHost* host, QWidget* parent, Ran& ran)
        : CPage(pageId, host, parent), m_ran(ran)
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_button);
    }
    bool CommitPage() override { return m_accept; }
    bool UpdateCommand(int id, platform::CommandState& state) override
    {
        using namespace vl::cmd;
        const bool entry = std::set<int>{kEditAdd, kEditRemove, kEditRename, kMoveUp, kMoveDown}.count(id);
        if (!IsEditCommand(id) && !(entry && PageId() == vl::kProductPageId))
            return false;
        state.enabled = m_disabled.count(id) == 0;
        return true;
    }
    bool ExecuteCommand(int id) override
    {
        m_ran.emplace_back(Target::Page, id);
        return !IsEditCommand(id) || SendEditCommand(id);
    }

    Ran& m_ran;
    QPushButton* m_button = new QPushButton(QStringLiteral("Button"), this);
    bool m_accept = true;
    std::set<int> m_disabled; // handled here, but not in the present state
};

// The document or the application, as far as the frame sees them: a fixed set of commands.
struct RecordingTarget : platform::CommandTarget {
    RecordingTarget(Target target, std::set<int> ids, Ran& ran) : m_target(target), m_ids(ids), m_ran(ran) {}
    bool UpdateCommand(int id, platform::CommandState&) override { return m_ids.count(id) != 0; }
    bool ExecuteCommand(int id) override
    {
        m_ran.emplace_back(m_target, id);
        return true;
    }
    Target m_target;
    std::set<int> m_ids;
    Ran& m_ran;
};

class FrameTest : public GuiTest
{
  protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        m_frame = std::make_unique<vl::CMainFrame>([this](int id, vl::PageHost* host, QWidget* parent) {
            m_made.push_back(id);
            if (id == vl::kGeneralPageId || id == vl::kProductPageId)
                return static_cast<vl::CPage*>(new TestPage(id, host, parent, m_ran));
            return static_cast<vl::CPage*>(new vl::CVLMiscView(host, parent));
        });
        m_frame->SetCommandTargets(&m_document, &m_application);
    }
    void TearDown() override
    {
        m_frame.reset();
        GuiTest::TearDown();
    }

    // Shortcuts and the keyboard focus need a shown, active window.
    void ShowActive()
    {
        m_frame->show();
        QApplication::setActiveWindow(m_frame.get());
        m_frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
    }

    TestPage* Page(int id) const { return dynamic_cast<TestPage*>(m_frame->FindPage(id)); }
    QAction* Action(int id) const { return m_frame->Action(id); }

    // Since the last look, the command ran once, at the target, and nothing ran anywhere else.
    void ExpectRanOnlyAt(Target target, int id)
    {
        EXPECT_EQ(m_ran, (target == Target::None ? Ran() : Ran{{target, id}}));
        m_ran.clear();
    }

    Ran m_ran;
    RecordingTarget m_document{
        Target::Document, {vl::cmd::kFileSave, vl::cmd::kFileSaveAs, vl::cmd::kPreview}, m_ran};
    RecordingTarget m_application{
        Target::Application,
        {vl::cmd::kFileNew, vl::cmd::kFileOpen, vl::cmd::kAppAbout, vl::cmd::kHelpContents},
        m_ran};
    std::unique_ptr<vl::CMainFrame> m_frame;
    std::vector<int> m_made; // page identifiers, in the order the frame asked for them
};

} // namespace vltest
