// The product tree's parts.
#include "ProductTree.h"

#include "TextLimits.h"

#include <QLineEdit>
#include <QMouseEvent>

namespace vl
{

ProductSelectionModel::ProductSelectionModel(QAbstractItemModel* model, QObject* parent)
    : QItemSelectionModel(model, parent)
{
}

void ProductSelectionModel::setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags)
{
    if (!m_bypass && index != currentIndex() && m_guard && !m_guard(currentIndex(), index))
        return;
    QItemSelectionModel::setCurrentIndex(index, index.isValid() ? ClearAndSelect | Rows : Clear);
}

void ProductSelectionModel::select(const QItemSelection& selection,
                                   QItemSelectionModel::SelectionFlags command)
{
    // A mouse press moves the current index first and selects after; only a selection of the
    // current row (or a clearing one) may pass, so a refused click selects nothing.
    if (!m_bypass) {
        for (const QModelIndex& index : selection.indexes()) {
            if (index.row() != currentIndex().row() || index.parent() != currentIndex().parent())
                return;
        }
        if (selection.isEmpty() && !(command & Clear))
            return;
    }
    QItemSelectionModel::select(selection, command);
}

QWidget* ProductItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const
{
    if (!index.parent().isValid())
        return nullptr; // group items are not renamed
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setObjectName(QStringLiteral("labelEdit"));
        LimitLineEdit(line, 0);
    }
    return editor;
}

void ProductItemDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const
{
}

ProductTreeView::ProductTreeView(QWidget* parent) : QTreeView(parent)
{
    setItemDelegate(new ProductItemDelegate(this));
    setEditTriggers(QAbstractItemView::SelectedClicked);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setItemsExpandable(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void ProductTreeView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        event->accept();
    else
        QTreeView::mousePressEvent(event);
}

void ProductTreeView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        event->accept();
    else
        QTreeView::mouseReleaseEvent(event);
}

void ProductTreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        event->accept();
    else
        QTreeView::mouseDoubleClickEvent(event);
}

bool ProductTreeView::StartEdit(const QModelIndex& index)
{
    // A click on the selected label schedules an edit of its own, and while it is pending no other edit
    // can begin. The view drops the pending one when asked for a double-click edit, which this tree's
    // triggers then refuse; the page's edit takes its place.
    QTreeView::edit(index, QAbstractItemView::DoubleClicked, nullptr);
    return edit(index, QAbstractItemView::AllEditTriggers, nullptr);
}

bool ProductTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (!QTreeView::edit(index, trigger, event))
        return false;
    if (indexWidget(index)) {
        m_editIndex = index;
        m_committed = false;
        m_editedText.clear();
    }
    return true;
}

void ProductTreeView::EndEdit(bool keep)
{
    QWidget* editor = m_editIndex.isValid() ? indexWidget(m_editIndex) : nullptr;
    if (!editor)
        return;
    if (keep)
        commitData(editor);
    closeEditor(editor, keep ? QAbstractItemDelegate::NoHint : QAbstractItemDelegate::RevertModelCache);
}

void ProductTreeView::commitData(QWidget* editor)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        m_editedText = line->text();
        m_committed = true;
    }
}

void ProductTreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint)
{
    if (!editor || !m_editIndex.isValid() || indexWidget(m_editIndex) != editor) {
        QTreeView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        return;
    }
    const QModelIndex index = m_editIndex;
    const QString text = m_committed ? m_editedText : QString();
    m_editIndex = QPersistentModelIndex();
    m_committed = false;
    // Close first, so that the page may start a new edit on the same item.
    QTreeView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (m_editEnd)
        m_editEnd(index, text);
}

} // namespace vl
