#include "core/MenuModel.h"

MenuModel::MenuModel() = default;
MenuModel::~MenuModel() = default;

MenuItem* MenuModel::add(const QString& parent, const QString& name, const QString& caption, bool visible)
{
    auto owned = std::make_unique<MenuItem>();
    MenuItem* it = owned.get();
    it->name = name;
    it->caption = caption;
    it->visible = visible;
    if (parent.isEmpty()) {
        m_top.push_back(it);
    } else {
        MenuItem* p = item(parent);
        Q_ASSERT(p);
        it->parent = p;
        p->children.push_back(it);
    }
    m_items.push_back(std::move(owned));
    return it;
}

void MenuModel::clear()
{
    m_top.clear();
    m_items.clear();
}

MenuItem* MenuModel::item(const QString& name) const
{
    for (const auto& it : m_items)
        if (it->name.compare(name, Qt::CaseInsensitive) == 0)
            return it.get();
    return nullptr;
}

void MenuModel::setCaption(const QString& name, const QString& caption)
{
    if (MenuItem* it = item(name))
        it->caption = caption;
}

void MenuModel::setVisible(const QString& name, bool visible)
{
    if (MenuItem* it = item(name))
        it->visible = visible;
}

void MenuModel::setEnabled(const QString& name, bool enabled)
{
    if (MenuItem* it = item(name))
        it->enabled = enabled;
}

void MenuModel::setChecked(const QString& name, bool checked)
{
    if (MenuItem* it = item(name))
        it->checked = checked;
}

QString MenuModel::caption(const QString& name) const
{
    const MenuItem* it = item(name);
    return it ? it->caption : QString();
}

bool MenuModel::isVisible(const QString& name) const
{
    const MenuItem* it = item(name);
    return it && it->visible;
}

bool MenuModel::isEnabled(const QString& name) const
{
    const MenuItem* it = item(name);
    return it && it->enabled;
}
