#pragma once
// The account set's mark "do not show the saved hint again".

#include "core/SettingsCatalogue.h"

class Database;

// True when the saved hint is switched off in this account set (row SetSavedHintOff holds setval 1).
bool SavedHintOff(const Database& db);
// Switches the saved hint off for this account set; one transaction.
void RememberSavedHintOff(Database& db, int chkID = SetSavedHintOff);
