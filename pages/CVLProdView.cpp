// The Product page.
#include "CVLProdView.h"

#include "ProductTree.h"
#include "ProductTreeModel.h"
#include "TextLimits.h"
#include "document/CVLConfigDoc.h"
#include "document/CommandIds.h"
#include "model/Rules.h"
#include "platform/CodePage.h"
#include "platform/FileDialogService.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "ui_CVLProdView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

namespace vl
{

namespace
{

const QString kUntitled = QStringLiteral("Untitled");

bool IsEntry(const QModelIndex& index)
{
    return ProductTreeModel::IsEntry(index);
}

bool IsEnterOrEscape(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

// Moves a section; true when the ring's order changed (twins, for one, find the same section twice).
bool MoveAfter(SectionNode* anchor, SectionNode* moving)
{
    if (!anchor || !moving || anchor == moving || anchor->next == moving)
        return false;
    MoveSectionAfter(anchor, moving);
    return true;
}

// Sees every key of the application before any control does, for the page's Enter and Escape rule.
// It is an object of its own so that the page's filter on its controls does not see each event twice.
class PageKeyFilter : public QObject
{
  public:
    PageKeyFilter(QObject* parent, std::function<bool(QObject*, QEvent*)> filter)
        : QObject(parent), m_filter(std::move(filter))
    {
    }
    bool eventFilter(QObject* watched, QEvent* event) override { return m_filter(watched, event); }

  private:
    std::function<bool(QObject*, QEvent*)> m_filter;
};

} // namespace

CVLProdView::CVLProdView(CVLConfigDoc* document, PageHost* host, QWidget* parent)
    : CPage(kProductPageId, host, parent), m_document(document), m_ui(std::make_unique<Ui::CVLProdView>())
{
    m_ui->setupUi(this);
    m_tree = m_ui->productTree;
    m_model = new ProductTreeModel(this);
    m_tree->setModel(m_model);
    m_selection = new ProductSelectionModel(m_model, this);
    QItemSelectionModel* old = m_tree->selectionModel();
    m_tree->setSelectionModel(m_selection);
    delete old;
    m_selection->SetGuard([this](const QModelIndex& from, const QModelIndex& to) {
        const bool moved = SelectEntry(from, to);
        SetPrompt(QStringLiteral("Click Edit > Add, Remove, or Rename to the edit product list."));
        return moved;
    });
    // Add, Remove and Rename follow the selection, however it moved, also on their shortcuts.
    connect(m_selection, &QItemSelectionModel::currentChanged, this, [this] { Host()->UpdateCommands(); });
    m_tree->SetEditEnd([this](const QModelIndex& index, const QString& text) { EndLabelEdit(index, text); });
    connect(m_tree, &QWidget::customContextMenuRequested, this, &CVLProdView::ShowContextMenu);
    m_tree->installEventFilter(this);

    // The tree's context menu: one popup, "Action".
    m_menuContext = new QMenu(QStringLiteral("Action"), this);
    m_menuContext->setObjectName(QStringLiteral("productContextMenu"));
    const std::pair<int, const char*> items[] = {
        {cmd::kContextAdd, "Add"}, {cmd::kContextRemove, "Remove"}, {cmd::kContextRename, "Rename"}};
    for (const auto& [id, text] : items) {
        QAction* action = m_menuContext->addAction(QString::fromLatin1(text));
        action->setProperty("commandId", id);
    }
    m_popupRunner = [](QMenu* menu, const QPoint& globalPos) { return menu->exec(globalPos); };

    LimitLineEdit(m_ui->titleEdit, static_cast<int>(rules::kEntryTitleTypingLimit));
    LimitLineEdit(m_ui->pathEdit, 0);
    m_descriptionLimiter =
        new TextEditLimiter(m_ui->descriptionEdit, static_cast<int>(rules::kEntryDescriptionTypingLimit));
    connect(m_ui->titleEdit, &QLineEdit::textEdited, this, &CVLProdView::OnUserChange);
    connect(m_ui->pathEdit, &QLineEdit::textEdited, this, &CVLProdView::OnUserChange);
    connect(m_descriptionLimiter, &TextEditLimiter::textChanged, this, &CVLProdView::OnUserChange);
    for (QWidget* field :
         {static_cast<QWidget*>(m_ui->titleEdit), static_cast<QWidget*>(m_ui->descriptionEdit),
          static_cast<QWidget*>(m_ui->pathEdit)})
        field->installEventFilter(this);

    connect(m_ui->browseButton, &QPushButton::clicked, this, &CVLProdView::BrowseForProgram);
    connect(m_ui->backButton, &QPushButton::clicked, this, [this] { Host()->SwitchPage(kGeneralPageId); });
    connect(m_ui->nextButton, &QPushButton::clicked, this, [this] { Host()->SwitchPage(kMiscPageId); });

    // Enter and Escape belong to the tree's label edit, whichever control of the page has the focus.
    m_keyFilter = new PageKeyFilter(
        this, [this](QObject* watched, QEvent* event) { return OnPageKey(watched, event); });
    qApp->installEventFilter(m_keyFilter);
    EnableFields(false);
}

CVLProdView::~CVLProdView()
{
    qApp->removeEventFilter(m_keyFilter);
}

void CVLProdView::SetPrompt(const QString& text)
{
    Host()->SetStatusPrompt(text);
}

void CVLProdView::OnUserChange()
{
    if (!m_filling)
        m_document->SetModifiedFlag(true);
}

void CVLProdView::OnInitialUpdate()
{
    OnUpdate();
}

void CVLProdView::OnUpdate()
{
    EnableFields(false);
    m_pRing = m_document->m_pRing;
    BuildTree();
}

// ---- The tree ----------------------------------------------------------------------------------

void CVLProdView::BuildTree()
{
    // A label edit cannot outlive its item: it ends as cancelled, so an Add's placeholder goes and the
    // edit mode does not carry over to the next edit.
    m_tree->EndEdit(false);
    m_selection->SetBypass(true);
    const QModelIndex last = m_model->Build(m_pRing);
    m_selection->SetBypass(false);
    if (last.isValid())
        m_hCurItem = last;
    if (m_model->rowCount() > 0)
        m_tree->expand(m_model->index(0, 0));
}

QModelIndex CVLProdView::FindGroupItem(const QString& text) const
{
    return m_model->FindGroup(text);
}

bool CVLProdView::SelectEntry(const QModelIndex& oldItem, const QModelIndex& newItem)
{
    if (oldItem.isValid() && !m_committed && !CommitPage(true))
        return false;
    if (IsEntry(newItem)) {
        if (const SectionNode* node = m_model->NodeOf(newItem)) {
            EnableFields(true);
            FillFields(*node);
        }
    } else {
        EnableFields(false);
    }
    m_hCurItem = newItem;
    return true;
}

bool CVLProdView::SelectItem(const QModelIndex& index)
{
    m_tree->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    return m_tree->currentIndex() == index;
}

void CVLProdView::DeleteItem(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    const bool wasCurrent = m_tree->currentIndex() == index;
    m_selection->SetBypass(true);
    m_model->removeRow(index.row(), index.parent());
    m_selection->SetBypass(false);
    if (wasCurrent) {
        // The tree moved the selection by itself; the fields must follow it, without storing the
        // deleted entry's fields into another entry.
        SelectEntry(QModelIndex(), m_tree->currentIndex());
    }
}

void CVLProdView::ShowContextMenu(const QPoint& pos)
{
    const QModelIndex hit = m_tree->indexAt(pos);
    bool committed = CommitPage(false);
    if (!committed && hit != QModelIndex(m_hCurItem)) {
        if (!CommitPage(true))
            return;
        committed = true;
    }
    m_hCurItem = hit;
    if (!hit.isValid())
        return;
    // Only a click on the item's label (not its expand button, nor the empty rest of its row) opens the menu.
    const QRect row = m_tree->visualRect(hit);
    const int labelEnd = row.left() + m_tree->fontMetrics().horizontalAdvance(hit.data().toString()) + 8;
    if (pos.x() < row.left() || pos.x() > labelEnd)
        return;
    const bool entry = IsEntry(hit);
    for (QAction* action : m_menuContext->actions()) {
        const int id = action->property("commandId").toInt();
        action->setEnabled(id == cmd::kContextAdd ? !entry : entry);
    }
    // The fields are stored already: selecting the item commits nothing more and shows no refusal.
    m_committed = committed;
    SelectItem(hit);
    m_committed = false;
    if (QAction* chosen = m_popupRunner(m_menuContext, m_tree->viewport()->mapToGlobal(pos)))
        ExecuteCommand(chosen->property("commandId").toInt());
}

// ---- The details --------------------------------------------------------------------------------

void CVLProdView::EnableFields(bool enable)
{
    if (!enable) {
        m_filling = true;
        SetFieldText(m_ui->titleEdit, QString());
        m_descriptionLimiter->Load(std::string());
        SetFieldText(m_ui->pathEdit, QString());
        m_filling = false;
    }
    for (QWidget* w : {static_cast<QWidget*>(m_ui->titleEdit), static_cast<QWidget*>(m_ui->descriptionEdit),
                       static_cast<QWidget*>(m_ui->pathEdit), static_cast<QWidget*>(m_ui->browseButton)})
        w->setEnabled(enable);
}

void CVLProdView::FillFields(const SectionNode& node)
{
    m_filling = true;
    SetFieldText(m_ui->titleEdit, platform::FromCp1252(node.title));
    m_descriptionLimiter->Load(node.description.value_or(std::string()));
    SetFieldText(m_ui->pathEdit, platform::FromCp1252(node.path.value_or(std::string())));
    m_filling = false;
}

bool CVLProdView::CommitPage(bool showMessages)
{
    const QModelIndex selected = m_tree->currentIndex();
    const std::string title = FieldBytes(m_ui->titleEdit->text());
    const std::string description = m_descriptionLimiter->Stored();
    const std::string path = FieldBytes(m_ui->pathEdit->text());
    if (!IsEntry(selected))
        return true;

    if (const std::string refusal = rules::EntryFieldsProblem(title, description, path); !refusal.empty()) {
        if (showMessages)
            platform::ShowMessage(QString::fromStdString(refusal));
        return false;
    }
    if (SectionNode* node = m_model->NodeOf(selected)) {
        SetField(node->title, title);
        node->description = description;
        node->path = path;
    }
    return true;
}

void CVLProdView::BrowseForProgram()
{
    platform::CurrentDirectoryKeeper keep;
    platform::FileDialogRequest request;
    request.filter = QString::fromLatin1(kProgramFilter);
    request.initialName = QStringLiteral("*.exe");
    request.defaultExtension = QStringLiteral("*.exe");
    request.overwritePrompt = true;
    const auto chosen = ChooseMediumFile(request, m_document->ConfigFolder());
    if (!chosen)
        return;
    m_document->TakeFolder(chosen->folder);
    SetFieldText(m_ui->pathEdit, chosen->dosPath);
    m_document->SetModifiedFlag(true);
}

// ---- The entry commands -------------------------------------------------------------------------

void CVLProdView::AddEntry()
{
    const QModelIndex group = m_hCurItem;
    if (!group.isValid() || IsEntry(group))
        return;
    const QModelIndex item = m_model->AppendEntry(group, kUntitled);
    m_tree->expand(group);
    m_nEditMode = LabelEditMode::Adding;
    SetPrompt(QStringLiteral("Enter title less than 50 characters."));
    if (!m_tree->StartEdit(item)) {
        // No edit can name the placeholder (another is still open): take it back.
        DeleteItem(item);
        m_nEditMode = LabelEditMode::None;
        SetPrompt(QString());
    }
}

void CVLProdView::RemoveEntry()
{
    const QModelIndex entry = m_hCurItem;
    if (!IsEntry(entry))
        return;
    if (platform::ShowMessage(QStringLiteral("Would you like to remove the item ?"),
                              platform::MsgButtons::YesNo) != platform::MsgAnswer::Yes)
        return;
    if (SectionNode* node = m_model->NodeOf(entry)) {
        if (!RemoveSection(m_pRing, node))
            platform::ShowMessage(QStringLiteral("Error While removing the item..!!"));
        m_document->SetModifiedFlag(true);
    }
    DeleteItem(entry);
}

void CVLProdView::RenameEntry()
{
    const QModelIndex entry = m_hCurItem;
    if (!IsEntry(entry))
        return;
    m_nEditMode = LabelEditMode::Renaming;
    m_tree->StartEdit(entry);
}

void CVLProdView::EndLabelEdit(const QModelIndex& item, const QString& newText)
{
    // An edit still running when the configuration is closed (the program ending) ends with it.
    if (!item.isValid() || !m_pRing || m_pRing != m_document->m_pRing) {
        m_nEditMode = LabelEditMode::None;
        return;
    }
    const QPersistentModelIndex index(item);
    const QString oldText = item.data().toString();
    const std::string group = FieldBytes(item.parent().data().toString());
    const std::string name = FieldBytes(newText);

    // A name the file cannot carry is refused where it is typed, and the edit starts again for the
    // same purpose. An edit started in the tree itself changes nothing, so only its length matters.
    const std::string problem = rules::EntryNameProblem(name);
    if (!problem.empty() && (m_nEditMode != LabelEditMode::None || name.size() > rules::kEntryNameLimit)) {
        platform::ShowMessage(QString::fromStdString(problem));
        m_tree->StartEdit(index);
        return;
    }
    const QString duplicate = QStringLiteral("This product name already exists !!\nTry with different name");
    if (name.empty()) {
        if (oldText == kUntitled)
            DeleteItem(index);
    } else if (m_nEditMode == LabelEditMode::Adding) {
        if (FindSection(m_pRing, group, name)) {
            platform::ShowMessage(duplicate);
            if (oldText == kUntitled)
                DeleteItem(index);
        } else {
            SectionNode* node = FindSection(m_pRing, group, "");
            if (node) {
                SetField(node->name, name);
            } else {
                node = CreateSectionNode(group, name, "", std::nullopt, std::nullopt);
                InsertSectionAfter(LastSection(m_pRing), node);
            }
            m_model->SetNode(index, node);
            m_document->SetModifiedFlag(true);
            m_model->setData(index, newText);
            SelectItem(index);
        }
    } else if (m_nEditMode == LabelEditMode::Renaming) {
        if (FindSection(m_pRing, group, name)) {
            platform::ShowMessage(duplicate);
        } else {
            if (SectionNode* node = m_model->NodeOf(index)) {
                SetField(node->name, name);
                m_document->SetModifiedFlag(true);
            }
            m_model->setData(index, newText);
        }
    }
    SetPrompt(QString());
    m_nEditMode = LabelEditMode::None;
}

void CVLProdView::MoveEntryDown()
{
    MoveEntry(+1);
}

void CVLProdView::MoveEntryUp()
{
    MoveEntry(-1);
}

void CVLProdView::MoveEntry(int step)
{
    const QModelIndex selected = m_tree->currentIndex();
    const QModelIndex group = selected.parent();
    const int otherRow = selected.row() + step;
    const QModelIndex other = otherRow >= 0 ? selected.sibling(otherRow, 0) : QModelIndex();
    if (!group.isValid() || !other.isValid())
        return;
    const QString groupText = group.data().toString();
    const std::string s = FieldBytes(selected.data().toString());
    SectionNode* moving = m_model->NodeOf(selected);
    SectionNode* passed = m_model->NodeOf(other);
    CommitPage(true);
    // Down: the entry goes after the next one; up: the previous one goes after the entry.
    if (step > 0 ? MoveAfter(passed, moving) : MoveAfter(moving, passed))
        m_document->SetModifiedFlag(true);
    BuildTree();
    if (const QModelIndex moved = m_model->FindEntry(FindGroupItem(groupText), moving, s); moved.isValid())
        SelectItem(moved);
}

// ---- Commands and events ------------------------------------------------------------------------

bool CVLProdView::UpdateCommand(int id, platform::CommandState& state)
{
    const bool entry = IsEntry(m_tree->currentIndex());
    switch (id) {
    case cmd::kEditAdd:
        state.enabled = !entry;
        return true;
    case cmd::kEditRemove:
    case cmd::kEditRename:
        state.enabled = entry;
        return true;
    case cmd::kMoveUp:
    case cmd::kMoveDown:
    case cmd::kContextAdd:
    case cmd::kContextRemove:
    case cmd::kContextRename:
        return true;
    default:
        return IsEditCommand(id);
    }
}

bool CVLProdView::ExecuteCommand(int id)
{
    switch (id) {
    case cmd::kEditAdd:
    case cmd::kContextAdd:
        AddEntry();
        return true;
    case cmd::kEditRemove:
    case cmd::kContextRemove:
        RemoveEntry();
        return true;
    case cmd::kEditRename:
    case cmd::kContextRename:
        RenameEntry();
        return true;
    case cmd::kMoveUp:
        MoveEntryUp();
        return true;
    case cmd::kMoveDown:
        MoveEntryDown();
        return true;
    default:
        return SendEditCommand(id);
    }
}

bool CVLProdView::OnPageKey(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!IsEnterOrEscape(key->key()) || !widget || (widget != this && !isAncestorOf(widget)))
        return false;
    if (type == QEvent::ShortcutOverride)
        key->accept();
    if (type == QEvent::KeyPress)
        m_tree->EndEdit(key->key() != Qt::Key_Escape);
    return true;
}

bool CVLProdView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Insert)
            AddEntry();
        else if (key == Qt::Key_Delete)
            RemoveEntry();
        return false; // the tree's own handling follows
    }
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_ui->titleEdit)
            SetPrompt(QStringLiteral("Enter a title of less than 50 characters."));
        else if (watched == m_ui->descriptionEdit)
            SetPrompt(QStringLiteral("Enter a description of less than 180 characters."));
        else if (watched == m_ui->pathEdit)
            SetPrompt(QStringLiteral("Enter the path/filename to be launched."));
    } else if (event->type() == QEvent::FocusOut &&
               (watched == m_ui->titleEdit || watched == m_ui->descriptionEdit ||
                watched == m_ui->pathEdit)) {
        SetPrompt(QString());
    }
    return CPage::eventFilter(watched, event);
}

} // namespace vl
