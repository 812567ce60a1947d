#pragma once
// The main window's menu tree as data: names, captions, visibility and
// enabled state. The settings loader, the after-login set-up and the settings
// wizard shape it; the main window renders it and re-renders on changed().
// Item names follow the menu's control names, arrays flattened:
// Menu_AA(0) is "Menu_AA0".

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

struct MenuItem {
    QString name;
    QString caption;  // "-" is a separator
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    MenuItem* parent = nullptr;
    std::vector<MenuItem*> children;

    bool isSeparator() const { return caption == QLatin1String("-"); }
};

class MenuModel : public QObject {
    Q_OBJECT
public:
    MenuModel();
    ~MenuModel() override;

    // Adds an item under `parent` ("" = top level); returns it.
    MenuItem* add(const QString& parent, const QString& name, const QString& caption, bool visible = true);
    void clear();

    MenuItem* item(const QString& name) const;  // null when absent
    bool has(const QString& name) const { return item(name) != nullptr; }
    const std::vector<MenuItem*>& topLevel() const { return m_top; }

    // Setters and getters by name; an unknown name is ignored / reads empty.
    void setCaption(const QString& name, const QString& caption);
    void setVisible(const QString& name, bool visible);
    void setEnabled(const QString& name, bool enabled);
    void setChecked(const QString& name, bool checked);
    QString caption(const QString& name) const;
    bool isVisible(const QString& name) const;
    bool isEnabled(const QString& name) const;

    // Tells the views once after a batch of changes.
    void notifyChanged() { Q_EMIT changed(); }

Q_SIGNALS:
    void changed();

private:
    std::vector<std::unique_ptr<MenuItem>> m_items;
    std::vector<MenuItem*> m_top;
};
