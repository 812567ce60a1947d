#pragma once
// What each stock-document type is: its kind, the signs it stores, the
// counter-parties it takes, the settings rows of its name and extra header
// item, the rights group that guards it and its print layouts. The eight
// configurable types keep their name and number prefix in a settings row;
// stocktaking carries both here, with its one fixed counter-party.
// Policies, services, statistics and ledgers read this one table; no code
// reaches a type by arithmetic on its number.

#include "core/Kinds.h"

#include <array>
#include <optional>

// Which side of the in/out reports or of the flow columns a type's lines stand on.
enum class StockSide { In, Out };

// One print layout of a type: the layout id the print engine picks the template
// by, and the default template in the program folder.
struct DocLayout {
    const char* layoutId = nullptr;
    const char* templateFile = nullptr;
};

struct DocTypeInfo {
    DocType type;
    DocKind kind;
    UnitKind counterParty;  // Supplier, Customer or Department
    bool dualRoleUnits;     // units marked SCSF join the counter-parties (setting 1616)
    // Stored signs: TB11.F6/F8 = lineSign x the shown quantity and amount,
    // TB1.F9/K9 = headerSign x the shown amounts.
    int lineSign;
    int headerSign;
    StockSide reportSide;  // R6-R8 (in) or C6-C8 (out)
    StockSide flowSide;    // R146-R148 (in) or C236-C238 (out)
    int rightGroup;        // the permission word of edit, audit and print (RightGroup)
    std::array<DocLayout, 3> layouts;  // plans one, two and (sales) the delivery note
    // A type without a name row: its fixed name, number prefix, counter-party code and
    // extra-item settings row (nullptr / 0 for the configurable types).
    const char* fixedName = nullptr;
    const char* fixedPrefix = nullptr;
    const char* fixedUnit = nullptr;
    int fixedExtraItemSetting = 0;

    bool department() const { return counterParty == UnitKind::Department; }
    bool configurable() const { return fixedName == nullptr; }
    // sysinfo row: in use, name, number prefix; 0 for a type with a fixed name.
    int nameSetting() const { return configurable() ? code(type) : 0; }
    // sysinfo row of the extra header item.
    int extraItemSetting() const { return configurable() ? code(type) + 100 : fixedExtraItemSetting; }
};

// The eight configurable types, in the order of their numbers.
const std::array<DocTypeInfo, 8>& DocTypes();
const DocTypeInfo& DocTypeOf(DocType type);
// The type of a configurable kind in department mode or not; nullopt for other kinds.
std::optional<DocType> DocTypeFor(DocKind kind, bool department);
// The type whose name is kept in settings row `id`; nullopt for other rows.
std::optional<DocType> DocTypeOfSetting(int id);
