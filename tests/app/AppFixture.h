// Shared set-up of the tests that drive the document alone or the whole application.
#pragma once

#include "document/CVLConfigDoc.h"
#include "document/PageValidator.h"
#include "model/SectionRing.h"
#include "pages/CVLGenView.h"
#include "platform/Paths.h"
#include "platform/Settings.h"
#include "shell/CMainFrame.h"
#include "shell/CVLConfigApp.h"
#include "support/GuiTest.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <memory>

namespace vltest
{

// A configuration in the writer's own form, so that saving it unchanged gives back these bytes: the
// general section (with a two-line description), MISC, a product with a path and one without.
inline QByteArray SmallConfig()
{
    return QByteArrayLiteral(
        "[GENERAL]\r\nPARENT=GENERAL\r\nTITLE=Welcome\r\nPATH=C:\\LOGO.PCX\r\n"
        "DESCRIPTION=Pick one\r\rand press Enter\r\n\r\n"
        "[MISC]\r\nBIOSSTR=X1\r\n\r\n"
        "[Tools]\r\nPARENT=Velmora Products\r\nTITLE=Tools\r\nPATH=TOOLS.BAT\r\nDESCRIPTION=\r\n\r\n"
        "[Games]\r\nPARENT=Velmora Products\r\nTITLE=Games\r\nPATH=\r\nDESCRIPTION=\r\n\r\n");
}

// A configuration whose general section holds the given texts, followed by one product.
inline QByteArray ConfigWithGeneral(const QByteArray& title, const QByteArray& description,
                                    const QByteArray& path = QByteArray(), const QByteArray& name = "GENERAL")
{
    return "[" + name + "]\r\nPARENT=" + name + "\r\nTITLE=" + title + "\r\nPATH=" + path +
           "\r\nDESCRIPTION=" + description +
           "\r\n\r\n[Tools]\r\nPARENT=Velmora Products\r\nTITLE=Tools\r\nPATH=T.BAT\r\nDESCRIPTION=\r\n";
}

inline int CountSections(const vl::SectionNode* ring)
{
    int n = 0;
    const vl::SectionNode* sentinel = vl::FindSentinel(ring);
    for (const vl::SectionNode* node = sentinel->next; node != sentinel; node = node->next)
        ++n;
    return n;
}

// Answers the document's question to the page on show, and counts how often it was asked.
class TestValidator : public vl::PageValidator
{
  public:
    bool ValidateCurrentPage() override
    {
        ++calls;
        return accept;
    }
    bool accept = true;
    int calls = 0;
};

// A document on its own, with a program folder of the test's own (empty until a template is put there).
class DocTest : public GuiTest
{
  protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        m_program = TempPath() + QStringLiteral("/program/");
        ASSERT_TRUE(QDir().mkpath(m_program));
        platform::SetProgramFolderOverride(m_program);
        m_doc = std::make_unique<vl::CVLConfigDoc>();
        m_doc->SetPageValidator(&m_validator);
    }
    void TearDown() override
    {
        m_doc.reset();
        GuiTest::TearDown();
    }

    void PutTemplate(const QByteArray& bytes) const
    {
        WriteFile(QStringLiteral("program/VLDefault.cfg"), bytes);
    }
    // A new document from the small configuration, with nothing shown.
    void NewFromSmallConfig()
    {
        PutTemplate(SmallConfig());
        ASSERT_TRUE(m_doc->OnNewDocument());
        ASSERT_TRUE(TakeMessages().isEmpty());
    }
    std::string GeneralTitle() const
    {
        const vl::SectionNode* general =
            vl::FindSection(m_doc->m_pRing, vl::kGeneralSection, vl::kGeneralSection);
        return general ? general->title : std::string("(none)");
    }

    QString m_program;
    TestValidator m_validator;
    std::unique_ptr<vl::CVLConfigDoc> m_doc;
};

// The whole application: its program folder holds the real template unless a test changes it; the
// recent-file list starts empty.
class AppTest : public GuiTest
{
  protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        m_program = TempPath() + QStringLiteral("/program/");
        ASSERT_TRUE(QDir().mkpath(m_program));
        ASSERT_TRUE(QFile::copy(QStringLiteral(VL_DATA_DIR "/VLDefault.cfg"),
                                m_program + QStringLiteral("VLDefault.cfg")));
        platform::SetProgramFolderOverride(m_program);
        platform::RemoveSettings();
    }
    void TearDown() override
    {
        m_app.reset();
        platform::RemoveSettings();
        GuiTest::TearDown();
    }

    void PutTemplate(const QByteArray& bytes) const
    {
        WriteFile(QStringLiteral("program/VLDefault.cfg"), bytes);
    }

    // Starts the application on a command line; true when it shows its window.
    bool Start(const QStringList& arguments = {})
    {
        m_app = std::make_unique<vl::CVLConfigApp>();
        const bool ok = m_app->InitInstance(arguments);
        if (ok) {
            QApplication::setActiveWindow(m_app->MainFrame());
            ProcessEvents();
        }
        return ok;
    }

    vl::CMainFrame* Frame() const { return m_app->MainFrame(); }
    vl::CVLConfigDoc* Doc() const { return m_app->Document(); }
    vl::CVLGenView* GenPage() const
    {
        return qobject_cast<vl::CVLGenView*>(Frame()->FindPage(vl::kGeneralPageId));
    }
    // A control of the General page by its object name; fails the test when it is missing.
    template <class T> T* Control(const char* name) const
    {
        T* control = GenPage() ? GenPage()->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    QString m_program;
    std::unique_ptr<vl::CVLConfigApp> m_app;
};

} // namespace vltest
