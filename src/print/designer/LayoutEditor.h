#pragma once
// The verbs through which the designer's windows change a layout's item
// table: set a property, add an item, replace an item, delete an item. Every
// verb that changes something emits changed() once, so the print window
// redraws and marks the layout as changed.

#include "print/Layout.h"

#include <QObject>
#include <utility>
#include <vector>

using PropertyList = std::vector<std::pair<QString, QString>>;  // (key, value) in order

class LayoutEditor : public QObject {
    Q_OBJECT
public:
    explicit LayoutEditor(PrintLayout& layout, QObject* parent = nullptr);

    PrintLayout& layout() { return m_layout; }
    const std::vector<ItemRow>& rows() const { return m_layout.GdM; }

    // Sets the value of property row `row`.
    void setValue(int row, const QString& value);
    // Inserts property `key` = `value` right after the item row `itemRow`;
    // answers the new row. Marks nothing: an inserted default changes no drawing.
    int insertProperty(int itemRow, const QString& owner, const QString& key, const QString& value);
    // Appends an item (kind word, name) with its properties; answers its VALUE row.
    int addItem(const QString& kindWord, const QString& name, const PropertyList& properties);
    // Removes the item whose VALUE row is `itemRow`, with its property rows.
    void deleteItem(int itemRow);
    // Replaces a field, constant or line item by the given list (first entry
    // its VALUE) at the end of the table; answers the new VALUE row.
    int replaceItem(int itemRow, const QString& kindWord, const PropertyList& list);
    // Replaces a variable's property rows (under its named value `name`).
    void replaceVariableProperties(const QString& name, const PropertyList& list);
    // Announces a change made to the layout's page settings (logo, margins, flags).
    void touch() { notify(); }

    // While one lives, changes are announced once, when the last one ends.
    class Batch {
    public:
        explicit Batch(LayoutEditor& e) : m_e(e) { ++m_e.m_depth; }
        ~Batch()
        {
            if (--m_e.m_depth == 0 && m_e.m_pending) {
                m_e.m_pending = false;
                Q_EMIT m_e.changed();
            }
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        LayoutEditor& m_e;
    };

    // The VALUE row of item (kind word, name), compared exactly; -1 none.
    int findItem(const QString& kindWord, const QString& name) const;
    // The item's property rows (key, value), in table order.
    PropertyList properties(int itemRow) const;
    // A variable's property rows, wherever they stand.
    PropertyList variableProperties(const QString& name) const;

Q_SIGNALS:
    // The layout changed: redraw and offer saving.
    void changed();
    // Only the drawing changed (a flag not stored with the layout): redraw.
    void redrawOnly();
    // The records' layout changed (label columns): count the pages again from page 1.
    void pagingChanged();

private:
    void notify();
    PrintLayout& m_layout;
    int m_depth = 0;
    bool m_pending = false;
};
