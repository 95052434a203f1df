// The Product page's commands through the window: Add, Remove, Rename and the moves change the
// configuration where they should and mark it changed; groups meet whatever their letter case; the
// browse buttons fill their fields and remember their folders.
#include "PageDriver.h"

#include <QPushButton>

namespace vltest
{
namespace
{

using ProductCommand = PageDriver;

// The file: a group named in two letter cases, and a group named after one of its entries.
const QByteArray kTwoCases = kGeneralAndMisc + Section("Tools", kHeading) +
                             Section("Games", "VELMORA products") + Section("Disk", "Tools");

// The sections' names in ring order, "MISC" and "GENERAL" left out.
QString RingNames(const vl::SectionNode* ring)
{
    QStringList names;
    const vl::SectionNode* sentinel = vl::FindSentinel(ring);
    for (const vl::SectionNode* node = sentinel->next; node != sentinel; node = node->next)
        if (node->name != "MISC" && node->name != "GENERAL")
            names.append(QString::fromStdString(node->name));
    return names.join(QLatin1Char(' '));
}

TEST_F(ProductCommand, eachCommandChangesTheRingAsItShouldAndMarksTheDocument)
{
    const struct {
        int row;     // the entry of the first group chosen, -1: the group itself
        Qt::Key key; // pressed in the tree; Qt::Key_Up and Qt::Key_Down stand for the move commands
        std::optional<platform::MsgAnswer> answer = std::nullopt;
        const char* name = nullptr; // typed into the label edit
        QStringList messages = {};
        const char* ring;  // names in ring order afterwards
        const char* group; // the first group's entries afterwards
    } rows[] = {
        {.row = 0,
         .key = Qt::Key_Delete,
         .answer = platform::MsgAnswer::No,
         .messages = {kRemove},
         .ring = "Tools Games Disk",
         .group = "Tools Games"},
        {.row = 0,
         .key = Qt::Key_Delete,
         .answer = platform::MsgAnswer::Yes,
         .messages = {kRemove},
         .ring = "Games Disk",
         .group = "Games"},
        {.row = -1,
         .key = Qt::Key_Insert,
         .name = "New",
         .ring = "Tools Games Disk New",
         .group = "Tools Games New"},
        {.row = -1,
         .key = Qt::Key_Insert,
         .name = "games",
         .messages = {kTwin},
         .ring = "Tools Games Disk",
         .group = "Tools Games"},
        {.row = 1,
         .key = Qt::Key_F2,
         .name = "TOOLS",
         .messages = {kTwin},
         .ring = "Tools Games Disk",
         .group = "Tools Games"},
        {.row = 1, .key = Qt::Key_F2, .name = "Gems", .ring = "Tools Gems Disk", .group = "Tools Gems"},
        {.row = 0, .key = Qt::Key_Down, .ring = "Games Tools Disk", .group = "Games Tools"},
        {.row = 1, .key = Qt::Key_Up, .ring = "Games Tools Disk", .group = "Games Tools"},
        {.row = 0, .key = Qt::Key_Up, .ring = "Tools Games Disk", .group = "Tools Games"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.key << " on " << row.row);
        OpenFile(kTwoCases);
        ToProduct();
        ASSERT_EQ(Model()->rowCount(), 2) << "one group of products, whatever its letter case";
        ClickItem(row.row < 0 ? Model()->index(0, 0) : Entry(0, row.row));
        if (row.answer)
            Answer(*row.answer);
        if (row.key == Qt::Key_Up || row.key == Qt::Key_Down)
            Frame()->Action(row.key == Qt::Key_Up ? vl::cmd::kMoveUp : vl::cmd::kMoveDown)->trigger();
        else
            Key(row.key);
        if (row.name)
            EndLabel(QLatin1String(row.name));
        EXPECT_EQ(TakeMessages(), row.messages);
        const QString before = QStringLiteral("Tools Games Disk");
        EXPECT_EQ(RingNames(Doc()->m_pRing), QLatin1String(row.ring));
        EXPECT_EQ(Doc()->IsModified(), before != QLatin1String(row.ring));
        QStringList entries;
        for (int r = 0; r < Model()->rowCount(Model()->index(0, 0)); ++r)
            entries.append(Entry(0, r).data().toString());
        EXPECT_EQ(entries.join(QLatin1Char(' ')), QLatin1String(row.group));
    }
}

// "..." on either page puts the chosen file into its field, and the next "..." starts in its folder.
TEST_F(ProductCommand, browseButtonsFillTheirFieldsAndRememberTheFolder)
{
    OpenFile(kValidConfig);
    ASSERT_TRUE(QDir(TempPath()).mkpath(QStringLiteral("art")) &&
                QDir(TempPath()).mkpath(QStringLiteral("run")));
    const QString logo =
        WriteFile(QStringLiteral("art/LOGO.PCX"), QByteArray("\x0a\x02\x01\x08", 4) + QByteArray(124, '\0'));
    const QString program = WriteFile(QStringLiteral("run/RUN.EXE"), "MZ");
    const struct {
        bool product;
        const char* field;
        QString chosen;
    } rows[] = {{.product = false, .field = "logoPathEdit", .chosen = logo},
                {.product = true, .field = "pathEdit", .chosen = program}};
    for (const auto& row : rows) {
        if (row.product) {
            ToProduct();
            ClickItem(Entry(0, 0));
        }
        const int page = row.product ? vl::kProductPageId : vl::kGeneralPageId;
        auto* field = Control<QLineEdit>(row.field, page);
        Doc()->SetModifiedFlag(false);
        AnswerDialog(row.chosen);
        Click(Control<QPushButton>("browseButton", page));
        TakeDialogs();
        EXPECT_TRUE(field->text().endsWith(platform::FileNameOf(row.chosen))) << field->text().toStdString();
        EXPECT_TRUE(Doc()->IsModified());
        AnswerDialog(std::nullopt);
        Click(Control<QPushButton>("browseButton", page));
        const auto requests = TakeDialogs();
        ASSERT_EQ(requests.size(), 1);
        EXPECT_EQ(QDir(requests[0].initialFolder), QFileInfo(row.chosen).dir());
    }
}

} // namespace
} // namespace vltest
