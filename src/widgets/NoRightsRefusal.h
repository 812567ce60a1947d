#pragma once
// The one refusal of every guarded window action: the action asks the
// operator's right first and, without it, the operator reads
// "对不起，您无此权限！" and nothing happens.

#include "core/Permissions.h"
#include "core/WindowRegistry.h"

#include <QString>

#include <functional>

class QAction;
class QAbstractButton;
struct App;

// HasRight, and on refusal tells the operator "对不起，您无此权限！".
bool RequireRight(const App& app, int group, int digit);

// Runs `action` on each trigger of `trigger` only while the operator holds
// (group, digit); otherwise shows the refusal. The right is read at every
// trigger, so a change saved in the operators window applies at once.
void GuardByRight(QAction* trigger, const App& app, int group, int digit, std::function<void()> action);
void GuardByRight(QAbstractButton* trigger, const App& app, int group, int digit, std::function<void()> action);

// Rights of main-menu entries (WindowRegistry lines).
// The operator's permission digit; refusal "对不起，您无此权限！".
Right OperatorRight(int group, int digit);
// Only the top administrator "001"; others read `refusal`.
Right TopAdministratorOnly(const QString& refusal);
// Cost figures (CanSeeCost); refusal "对不起，您无此权限！".
Right SeesCost();
// The gross-profit report: blocked while the sales document type is out of
// use ("该功能已经被屏蔽！"), then cost and profit figures.
Right SeesGrossProfit();
