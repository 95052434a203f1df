// A main frame built with stand-in pages and recording command targets, shared by the shell tests.
#pragma once

#include "../support/GuiTest.h"

#include "document/CommandIds.h"
#include "pages/CVLMiscView.h"
#include "shell/CMainFrame.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <map>
#include <memory>
#include <ostream>
#include <set>

// Lets a failed comparison print the text instead of its bytes.
static inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace vltest
{

// Stands in for the General and Product pages: a field, a button, a commit that can refuse, and the
// commands the real pages handle (Undo, Cut, Copy, Paste on both; the entry commands on Product).
class TestPage : public vl::CPage
{
  public:
    TestPage(int pageId, vl::PageHost* host, QWidget* parent) : CPage(pageId, host, parent)
    {
        auto* layout = new QVBoxLayout(this);
        m_field = new QLineEdit(this);
        m_field->setObjectName(QStringLiteral("fieldEdit"));
        m_button = new QPushButton(QStringLiteral("Button"), this);
        m_button->setObjectName(QStringLiteral("plainButton"));
        layout->addWidget(m_field);
        layout->addWidget(m_button);
    }

    bool CommitPage() override
    {
        ++m_commits;
        return m_accept;
    }

    bool UpdateCommand(int id, platform::CommandState& state) override
    {
        if (!Handles(id))
            return false;
        state.enabled = m_disabled.count(id) == 0;
        return true;
    }

    bool ExecuteCommand(int id) override
    {
        m_executed.append(id);
        if (IsEditCommand(id))
            return SendEditCommand(id);
        return true;
    }

    bool Handles(int id) const
    {
        if (IsEditCommand(id))
            return true;
        const bool entryCommand = id == vl::cmd::kEditAdd || id == vl::cmd::kEditRemove ||
                                  id == vl::cmd::kEditRename || id == vl::cmd::kMoveUp ||
                                  id == vl::cmd::kMoveDown;
        return entryCommand && PageId() == vl::kProductPageId;
    }

    QLineEdit* m_field;
    QPushButton* m_button;
    bool m_accept = true;
    int m_commits = 0;
    QList<int> m_executed;
    std::set<int> m_disabled; // handled here, but not in the present state
};

// The document or the application, as far as the frame sees them: a fixed set of commands, each
// run recorded.
class RecordingTarget : public platform::CommandTarget
{
  public:
    explicit RecordingTarget(std::set<int> handled) : m_handled(std::move(handled)) {}
    bool UpdateCommand(int id, platform::CommandState&) override { return m_handled.count(id) != 0; }
    bool ExecuteCommand(int id) override
    {
        m_executed.append(id);
        return true;
    }

    std::set<int> m_handled;
    QList<int> m_executed;
};

// Where a command must arrive; Frame commands change the window itself.
enum class Target { None, Page, Document, Application, Frame };

class FrameTest : public GuiTest
{
  protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        MakeFrame();
    }

    void TearDown() override
    {
        m_frame.reset();
        GuiTest::TearDown();
    }

    // A fresh frame, its first page made, with the recording targets behind it.
    void MakeFrame()
    {
        m_frame.reset();
        m_testPages.clear();
        m_made.clear();
        m_frame = std::make_unique<vl::CMainFrame>(
            [this](int id, vl::PageHost* host, QWidget* parent) -> vl::CPage* {
                m_made.push_back(id);
                if (id == vl::kGeneralPageId || id == vl::kProductPageId) {
                    auto* page = new TestPage(id, host, parent);
                    m_testPages[id] = page;
                    return page;
                }
                return new vl::CVLMiscView(host, parent);
            });
        m_frame->SetCommandTargets(&m_document, &m_application);
    }

    // Shortcuts and the keyboard focus need a shown, active window.
    void ShowActive()
    {
        m_frame->show();
        QApplication::setActiveWindow(m_frame.get());
        m_frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
    }

    TestPage* Page(int id) const
    {
        auto it = m_testPages.find(id);
        return it == m_testPages.end() ? nullptr : it->second;
    }

    QAction* Action(int id) const { return m_frame->Action(id); }

    void ClearRecords()
    {
        for (auto& [id, page] : m_testPages)
            page->m_executed.clear();
        m_document.m_executed.clear();
        m_application.m_executed.clear();
    }

    // The command ran once, at the target, and nothing ran anywhere else.
    // Compared as standard vectors: Qt 6.4's QList comparison hands memcmp a null pointer for empty
    // lists, which the undefined-behaviour sanitizer reports.
    void ExpectRanOnlyAt(Target target, int id)
    {
        std::vector<int> onPages;
        for (const auto& [pageId, page] : m_testPages)
            onPages.insert(onPages.end(), page->m_executed.begin(), page->m_executed.end());
        const std::vector<int> once{id};
        const auto ran = [](const QList<int>& list) { return std::vector<int>(list.begin(), list.end()); };
        EXPECT_EQ(onPages, target == Target::Page ? once : std::vector<int>());
        EXPECT_EQ(ran(m_document.m_executed), target == Target::Document ? once : std::vector<int>());
        EXPECT_EQ(ran(m_application.m_executed), target == Target::Application ? once : std::vector<int>());
    }

    RecordingTarget m_document{{vl::cmd::kFileSave, vl::cmd::kFileSaveAs, vl::cmd::kPreview}};
    RecordingTarget m_application{
        {vl::cmd::kFileNew, vl::cmd::kFileOpen, vl::cmd::kAppAbout, vl::cmd::kHelpContents}};
    std::unique_ptr<vl::CMainFrame> m_frame;
    std::map<int, TestPage*> m_testPages;
    std::vector<int> m_made; // page identifiers, in the order the frame asked for them
};

} // namespace vltest
