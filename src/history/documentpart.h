#pragma once

#include "style/styledocument.h"

#include <bitset>
#include <cstddef>
#include <tuple>

// The parts of a document an undo step keeps and puts back. Fields that only make sense together
// (a palette store and its count) form one part, so a step never restores half of them.
enum class DocumentPart {
    Palettes,
    PaletteIndex,
    PaletteCounts,
    Cars,
    SpriteBases,
    SpriteIndex,
    RecycleList,
    Deltas,
    ObjectInfo,
    SurfaceLists,
    SurfaceColumns,
    CarScript,
    TileStore,
    SpriteStore,
};
inline constexpr std::size_t DocumentPartCount = std::size_t(DocumentPart::SpriteStore) + 1;

// A set of parts.
class DocumentParts {
public:
    DocumentParts() = default;

    bool has(DocumentPart part) const { return bits_.test(std::size_t(part)); }
    void set(DocumentPart part, bool on = true) { bits_.set(std::size_t(part), on); }
    bool none() const { return bits_.none(); }
    static DocumentParts all() {
        DocumentParts parts;
        parts.bits_.set();
        return parts;
    }
    bool operator==(const DocumentParts &) const = default;

private:
    std::bitset<DocumentPartCount> bits_;
};

// One field of the document and the part it belongs to.
template <typename T> struct DocumentField {
    DocumentPart part;
    T StyleDocument::*member;
};
// Spelled out for compilers that deduce no aggregate's arguments (clang before 17).
template <typename T> DocumentField(DocumentPart, T StyleDocument::*) -> DocumentField<T>;

// Every field of `StyleDocument`, each in its part. The history compares, copies and measures a
// document through this table only, so a field missing here would silently escape undo; a test
// holds its length to the struct's member count.
inline constexpr auto documentFields = std::tuple{
    DocumentField{DocumentPart::Palettes, &StyleDocument::PhysicalPalettes},
    DocumentField{DocumentPart::Palettes, &StyleDocument::PhysicalPaletteCount},
    DocumentField{DocumentPart::PaletteIndex, &StyleDocument::PaletteIndex},
    DocumentField{DocumentPart::PaletteCounts, &StyleDocument::PaletteCounts},
    DocumentField{DocumentPart::PaletteCounts, &StyleDocument::PaletteBases},
    DocumentField{DocumentPart::Cars, &StyleDocument::CarInfoTable},
    DocumentField{DocumentPart::SpriteBases, &StyleDocument::SpriteBases},
    DocumentField{DocumentPart::SpriteIndex, &StyleDocument::SpriteIndex},
    DocumentField{DocumentPart::SpriteIndex, &StyleDocument::SpriteIndexSize},
    DocumentField{DocumentPart::RecycleList, &StyleDocument::RecycleList},
    DocumentField{DocumentPart::Deltas, &StyleDocument::DeltaIndex},
    DocumentField{DocumentPart::Deltas, &StyleDocument::DeltaStore},
    DocumentField{DocumentPart::ObjectInfo, &StyleDocument::ObjectInfo},
    DocumentField{DocumentPart::SurfaceLists, &StyleDocument::SurfaceLists},
    DocumentField{DocumentPart::SurfaceColumns, &StyleDocument::SurfaceColumns},
    DocumentField{DocumentPart::CarScript, &StyleDocument::CarScript},
    DocumentField{DocumentPart::TileStore, &StyleDocument::TileStore},
    DocumentField{DocumentPart::SpriteStore, &StyleDocument::SpriteStore},
};

// Calls `f(part, a.field, b.field)` for every field of two documents.
template <typename A, typename B, typename F> void forEachField(A &a, B &b, F &&f) {
    std::apply([&](const auto &...field) { (f(field.part, a.*field.member, b.*field.member), ...); },
               documentFields);
}

// The parts in which two documents differ.
DocumentParts changedParts(const StyleDocument &before, const StyleDocument &after);
