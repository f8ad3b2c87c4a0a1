#pragma once
// "我的宠物": the pets a page keeps, in the player's order, one of them
// shown. A value: the page keeps it, saves each pet as a record and gives
// the list to the functions below, which hold every rule of it (names,
// where a new pet goes, what an opened link or an import adds). The list is
// never empty.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "petstate.h"

namespace petcalc {

struct KeptPet {
    std::string name;
    PetState state;
    bool operator==(const KeptPet&) const = default;
};

// The columns of the pets table, and how it is sorted: by one of them,
// descending or not; unsorted, the list's order.
enum class PetColumn { Name, Level, Hp, Attack, Defense, Speed, Spirit };
inline constexpr int kPetColumns = 7;
struct PetSort {
    PetColumn column = PetColumn::Name;
    bool descending = false;
    bool operator==(const PetSort&) const = default;
};

struct Pets {
    std::vector<KeptPet> pets{KeptPet{"宠物 1", {}}};
    std::size_t current = 0;
    // The pet deleted last and where it stood, until it is brought back or
    // another is deleted.
    std::optional<std::pair<std::size_t, KeptPet>> removed;
    // The pet picked for "对比": the panel's changes are measured against
    // its panel. It keeps pointing at that pet while others come and go.
    std::optional<std::size_t> compared;
    // The table's sort, kept with the pets while they come and go.
    std::optional<PetSort> sort;
};

// "宠物 N", N the least number no pet's name has.
std::string freeName(const Pets& p);
void addPet(Pets& p);        // a new empty pet, last, shown
void duplicatePet(Pets& p);  // a copy of the shown one just after it, shown
// The name as the player typed it, blanks at its ends dropped; the message
// why not (in Chinese) when it cannot be a name, and nothing changes.
std::string renamePet(Pets& p, std::size_t i, std::string_view name);
void removePet(Pets& p, std::size_t i);  // the last one goes: a new empty pet takes its place
bool restoreRemoved(Pets& p);
void switchPet(Pets& p, std::size_t i);
bool comparePet(Pets& p, std::size_t i);
// The table sorted by column `c`; by the same again, the other way. A name
// sorts from the first, a value from the largest.
void sortPets(Pets& p, PetColumn c);  // false, and nothing changed, when there is no such pet
// The sort as the page keeps it beside the records: "" for none, else a
// column's name (views.h), "-" before it when descending; a text that is no
// such thing reads as none.
std::string petSortText(const std::optional<PetSort>& s);
std::optional<PetSort> readPetSort(std::string_view text);
// Where the same pet is kept already (a link opened twice adds it once).
std::optional<std::size_t> findPet(const Pets& p, const PetState& s);

// One pet as a stored record, and back: {"version":1,"name":...,"code":...}.
std::string petRecord(const KeptPet& k);
struct ReadPet {
    std::optional<KeptPet> pet;
    std::string refusal;  // why not, in Chinese
    bool newer = false;   // a later version wrote it: keep it for that version
};
ReadPet readPetRecord(std::string_view record);

// Every pet as a file: {"petcalc":"pets","version":1,"pets":[records]}.
// An import adds the file's pets after the others and never replaces one.
inline constexpr std::size_t kMaxImportBytes = 4 << 20;
inline constexpr std::size_t kMaxPets = 1000;
inline constexpr std::string_view kImportTooLarge = "文件太大（超过 4 MB），文件没有导入。";
std::string exportPets(const Pets& p);
std::string importPets(Pets& p, std::string_view file);  // the message why not; nothing added then

}  // namespace petcalc
