#include "print/designer/LayoutEditor.h"

using namespace LayoutWord;

LayoutEditor::LayoutEditor(PrintLayout& layout, QObject* parent) : QObject(parent), m_layout(layout) {}

void LayoutEditor::setValue(int row, const QString& value)
{
    ItemRow& r = m_layout.GdM.at(size_t(row));
    if (r.value == value)
        return;
    r.value = value;
    notify();
}

int LayoutEditor::insertProperty(int itemRow, const QString& owner, const QString& key, const QString& value)
{
    m_layout.GdM.insert(m_layout.GdM.begin() + itemRow + 1, ItemRow{owner, key, value});
    return itemRow + 1;
}

int LayoutEditor::addItem(const QString& kindWord, const QString& name, const PropertyList& properties)
{
    auto& t = m_layout.GdM;
    const int at = int(t.size());
    t.push_back({kindWord, Value, name});
    for (const auto& [key, value] : properties)
        t.push_back({kindWord, key.toUpper(), value});
    notify();
    return at;
}

void LayoutEditor::deleteItem(int itemRow)
{
    auto& t = m_layout.GdM;
    if (itemRow < 0 || itemRow >= int(t.size()))
        return;
    t.erase(t.begin() + itemRow, t.begin() + m_layout.itemEnd(itemRow));
    notify();
}

int LayoutEditor::replaceItem(int itemRow, const QString& kindWord, const PropertyList& list)
{
    auto& t = m_layout.GdM;
    if (itemRow >= 0 && itemRow < int(t.size()))
        t.erase(t.begin() + itemRow, t.begin() + m_layout.itemEnd(itemRow));
    const int at = int(t.size());
    for (const auto& [key, value] : list)
        t.push_back({kindWord, key.toUpper(), value});
    notify();
    return at;
}

void LayoutEditor::replaceVariableProperties(const QString& name, const PropertyList& list)
{
    auto& t = m_layout.GdM;
    const auto same = [&name](const ItemRow& r) { return r.owner.compare(name, Qt::CaseInsensitive) == 0; };
    const auto first = std::find_if(t.begin(), t.end(), same);
    if (first == t.end())
        return;
    const ItemRow head = *first;
    const qsizetype at = first - t.begin();
    t.erase(std::remove_if(t.begin() + at + 1, t.end(), same), t.end());
    std::vector<ItemRow> rows;
    for (const auto& [key, value] : list)
        rows.push_back({name, key.toUpper(), value});
    t.insert(t.begin() + at + 1, rows.begin(), rows.end());
    notify();
}

int LayoutEditor::findItem(const QString& kindWord, const QString& name) const
{
    const auto& t = m_layout.GdM;
    for (size_t r = 0; r < t.size(); ++r)
        if (t[r].owner == kindWord && t[r].key.toUpper() == Value && t[r].value == name)
            return int(r);
    return -1;
}

PropertyList LayoutEditor::properties(int itemRow) const
{
    PropertyList out;
    const auto& t = m_layout.GdM;
    if (itemRow < 0 || itemRow >= int(t.size()))
        return out;
    const QString owner = t[size_t(itemRow)].owner;
    for (size_t r = size_t(itemRow) + 1; r < t.size() && t[r].owner == owner && t[r].key.toUpper() != Value; ++r)
        out.emplace_back(t[r].key.toUpper(), t[r].value);
    return out;
}

PropertyList LayoutEditor::variableProperties(const QString& name) const
{
    PropertyList out;
    for (const ItemRow& r : m_layout.GdM)
        if (r.owner.compare(name, Qt::CaseInsensitive) == 0 && r.key.toUpper() != Value)
            out.emplace_back(r.key.toUpper(), r.value);
    return out;
}

void LayoutEditor::notify()
{
    if (m_depth > 0)
        m_pending = true;
    else
        Q_EMIT changed();
}
