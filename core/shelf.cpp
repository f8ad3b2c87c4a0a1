#include "shelf.h"

#include "petcode.h"

namespace petcalc {

void keepShown(Pets& p, const Form1Events& form) { p.pets[p.current].state = form.state(); }

void showKept(const Pets& p, Form1Events& form) { form.load(p.pets[p.current].state); }

std::vector<PanelChange> shownChanges(const Pets& p, const Form1Events& form) {
    return p.compared ? shownChanges(p, form, form.state()) : form.changes();
}

std::vector<PanelChange> shownChanges(const Pets& p, const Form1Events& form, const PetState& now) {
    if (!p.compared) return form.changes();
    return panelChanges(*p.compared == p.current ? now : p.pets[*p.compared].state, now);
}

std::string onShelf(Pets& p, Form1Events& form, ShelfOp op, std::size_t index, std::string_view text) {
    keepShown(p, form);
    const std::size_t shown = p.current;
    std::string why;
    switch (op) {
    case ShelfOp::New: addPet(p); break;
    case ShelfOp::Duplicate: duplicatePet(p); break;
    case ShelfOp::Rename: return renamePet(p, p.current, text);
    case ShelfOp::Remove: removePet(p, p.current); break;
    case ShelfOp::Restore:
        if (!restoreRemoved(p)) return "没有删除过的宠物可以恢复。";
        break;
    case ShelfOp::Switch:
        if (index >= p.pets.size()) return "没有这只宠物。";
        switchPet(p, index);
        break;
    case ShelfOp::OpenLink: {
        DecodedPet d = decodePet(text);
        if (!d.pet) return d.refusal;
        if (const auto same = findPet(p, *d.pet)) {
            switchPet(p, *same);
            break;
        }
        // A new pet, and the link opened in it: undo shows it empty.
        addPet(p);
        showKept(p, form);
        form.open(*d.pet);
        return {};
    }
    case ShelfOp::Import: why = importPets(p, text); break;
    case ShelfOp::Compare: return comparePet(p, index) ? std::string() : "没有这只宠物。";
    case ShelfOp::Uncompare: p.compared.reset(); return {};
    case ShelfOp::Sort:
        if (index >= static_cast<std::size_t>(kPetColumns)) return "没有这一列。";
        sortPets(p, static_cast<PetColumn>(index));
        return {};
    }
    // The same pet still shown keeps its undo history.
    if (op == ShelfOp::Import || (op == ShelfOp::Switch && p.current == shown)) return why;
    showKept(p, form);
    return why;
}

}  // namespace petcalc
