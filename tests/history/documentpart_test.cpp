#include "history/documentpart.h"

#include <gtest/gtest.h>
#include <set>

namespace {

// Converts to any field's type, so `T{AnyField{}, ...}` compiles up to exactly as many
// initializers as the aggregate `T` has fields.
struct AnyField {
    template <typename T> operator T() const;
};

template <typename T, typename... Fields> constexpr std::size_t fieldCount() {
    if constexpr (requires { T{Fields{}..., AnyField{}}; })
        return fieldCount<T, Fields..., AnyField>();
    else
        return sizeof...(Fields);
}

// A field added to the document but not to the history's table would be silently left out of
// undo: the table must name every field, each once, and every part must hold a field.
TEST(DocumentParts, EveryFieldOfTheDocumentBelongsToExactlyOnePart) {
    EXPECT_EQ(std::tuple_size_v<std::remove_const_t<decltype(documentFields)>>, fieldCount<StyleDocument>());

    const StyleDocument doc;
    std::set<const void *> fields;
    std::set<DocumentPart> parts;
    std::apply(
        [&](const auto &...field) {
            (fields.insert(static_cast<const void *>(&(doc.*field.member))), ...);
            (parts.insert(field.part), ...);
        },
        documentFields);
    EXPECT_EQ(fields.size(), fieldCount<StyleDocument>());
    EXPECT_EQ(parts.size(), DocumentPartCount);
}

} // namespace
