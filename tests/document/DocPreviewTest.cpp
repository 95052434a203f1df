// Preview: the saved batch file run through the command interpreter named by COMSPEC.
#include "app/AppFixture.h"
#include "document/CVLConfigDoc.h"

#include <QFile>

namespace
{

// Sets COMSPEC for one test and puts back what was there.
class ComspecGuard
{
  public:
    explicit ComspecGuard(const QString& value)
        : m_had(qEnvironmentVariableIsSet("COMSPEC")), m_old(qgetenv("COMSPEC"))
    {
        qputenv("COMSPEC", QFile::encodeName(value));
    }
    ~ComspecGuard()
    {
        if (m_had)
            qputenv("COMSPEC", m_old);
        else
            qunsetenv("COMSPEC");
    }

  private:
    bool m_had;
    QByteArray m_old;
};

class DocPreview : public vltest::DocTest
{
  protected:
    // An interpreter that writes its arguments, one a line, and its working folder into record.
    QString WriteInterpreter(const QString& record) const
    {
        const QString path = WriteFile(QStringLiteral("comspec.sh"),
                                       "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + QFile::encodeName(record) +
                                           "'\npwd -P >> '" + QFile::encodeName(record) + "'\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    // A new document saved as cfg/MENU.ini.
    QString SaveMenu()
    {
        NewFromSmallConfig();
        EXPECT_TRUE(QDir(TempPath()).mkdir(QStringLiteral("cfg")));
        const QString path = TempPath() + QStringLiteral("/cfg/MENU.ini");
        EXPECT_TRUE(m_doc->DoSave(path));
        EXPECT_EQ(TakeMessages().size(), 1);
        return path;
    }
};

TEST_F(DocPreview, runsTheBatchFileInTheConfigurationsFolderAndKeepsTheCurrentDirectory)
{
    const QString record = TempPath() + QStringLiteral("/record.txt");
    const ComspecGuard comspec(WriteInterpreter(record));
    SaveMenu();
    platform::SetCurrentDirectory(m_program);

    m_doc->OnPreview();

    EXPECT_TRUE(TakeMessages().isEmpty());
    const QString folder = QDir(TempPath() + QStringLiteral("/cfg")).canonicalPath();
    EXPECT_EQ(QString::fromLocal8Bit(ReadFile(record)),
              QStringLiteral("/c\n%1/MENU.bat\n%2\n").arg(TempPath() + QStringLiteral("/cfg"), folder));
    EXPECT_EQ(QDir(platform::CurrentDirectory()).canonicalPath(), QDir(m_program).canonicalPath());
}

TEST_F(DocPreview, refusesWhileModifiedAndReportsAnInterpreterThatCannotStart)
{
    const QString record = TempPath() + QStringLiteral("/record.txt");
    const QString missing = TempPath() + QStringLiteral("/no-such-interpreter");
    struct Case {
        const char* what;
        QString comspec;
        bool modified;
        QString message;
    };
    const Case cases[] = {
        {"modified", WriteInterpreter(record), true, QStringLiteral("File not yet saved.")},
        {"missing interpreter", missing, false,
         QStringLiteral("Unable to start the command interpreter %1.").arg(missing)},
    };
    SaveMenu();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ComspecGuard comspec(c.comspec);
        m_doc->SetModifiedFlag(c.modified);
        m_doc->OnPreview();
        EXPECT_EQ(TakeMessages(), QStringList{c.message});
        EXPECT_FALSE(QFile::exists(record));
    }
}

} // namespace
