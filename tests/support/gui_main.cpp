// Runs the GUI tests on the offscreen platform with settings in a temporary folder.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The system's reasons in English, whatever the machine's language.
    qputenv("LANGUAGE", "C");
    QTemporaryDir settingsDir;
    // A home of the suite's own: the machine's may be missing or be the root.
    qputenv("HOME", settingsDir.path().toLocal8Bit());
    // The program's settings go to this folder, never to the user's own.
    qputenv("XDG_CONFIG_HOME", settingsDir.path().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
