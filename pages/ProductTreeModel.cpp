// The product tree's model.
#include "ProductTreeModel.h"

#include "TextLimits.h"
#include "model/CaseFold.h"
#include "platform/CodePage.h"

#include <unordered_map>

namespace vl
{

namespace
{
constexpr int kNodeRole = Qt::UserRole + 1;
} // namespace

ProductTreeModel::ProductTreeModel(QObject* parent) : QStandardItemModel(parent)
{
}

QModelIndex ProductTreeModel::Build(const SectionNode* ring)
{
    clear();
    m_ring = ring;
    if (!ring)
        return QModelIndex();
    // Groups are found by their parent text with letter case folded, and filled before they join the
    // model, so that a large configuration does not scan the top level once per entry.
    std::unordered_map<std::string, QStandardItem*> groups;
    QList<QStandardItem*> order;
    QStandardItem* last = nullptr;
    const SectionNode* sentinel = FindSentinel(ring);
    for (SectionNode* node = sentinel->next; node && node != sentinel; node = node->next) {
        if (!IsShownSection(*node))
            continue;
        std::string key = node->parent;
        for (char& c : key)
            c = static_cast<char>(FoldCase1252(static_cast<unsigned char>(c)));
        auto [it, isNew] = groups.try_emplace(std::move(key), nullptr);
        if (isNew) {
            it->second = new QStandardItem(platform::FromCp1252(node->parent));
            order.append(it->second);
        }
        last = it->second;
        if (!node->name.empty()) {
            auto* entry = new QStandardItem(platform::FromCp1252(node->name));
            entry->setData(QVariant::fromValue(static_cast<void*>(node)), kNodeRole);
            last->appendRow(entry);
        }
    }
    invisibleRootItem()->appendRows(order);
    return last ? last->index() : QModelIndex();
}

QModelIndex ProductTreeModel::FindGroup(const QString& text) const
{
    const std::string wanted = FieldBytes(text);
    for (int row = 0; row < rowCount(); ++row) {
        const QModelIndex group = index(row, 0);
        if (EqualsIgnoreCase(FieldBytes(group.data().toString()), wanted))
            return group;
    }
    return QModelIndex();
}

QModelIndex ProductTreeModel::FindEntry(const QModelIndex& group, const SectionNode* node,
                                        const std::string& name) const
{
    for (int row = 0; row < rowCount(group); ++row) {
        const QModelIndex child = index(row, 0, group);
        if (node ? child.data(kNodeRole).value<void*>() == node
                 : EqualsIgnoreCase(FieldBytes(child.data().toString()), name))
            return child;
    }
    return QModelIndex();
}

SectionNode* ProductTreeModel::NodeOf(const QModelIndex& entry) const
{
    if (!IsEntry(entry) || !m_ring)
        return nullptr;
    const auto* wanted = static_cast<const SectionNode*>(entry.data(kNodeRole).value<void*>());
    // Only a section still in the ring: one removed behind the page's back is not reached.
    const SectionNode* sentinel = FindSentinel(m_ring);
    for (SectionNode* node = sentinel->next; wanted && node != sentinel; node = node->next) {
        if (node == wanted)
            return node;
    }
    return nullptr;
}

void ProductTreeModel::SetNode(const QModelIndex& entry, SectionNode* node)
{
    setData(entry, QVariant::fromValue(static_cast<void*>(node)), kNodeRole);
}

QModelIndex ProductTreeModel::AppendEntry(const QModelIndex& group, const QString& text)
{
    auto* item = new QStandardItem(text);
    itemFromIndex(group)->appendRow(item);
    return item->index();
}

} // namespace vl
