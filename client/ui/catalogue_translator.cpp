#include "ui/catalogue_translator.h"

#include <string>

#include "z5r/i18n.h"

namespace z5r {

QString CCatalogueTranslator::translate(const char* /*context*/, const char* sourceText,
                                        const char* /*disambiguation*/, int /*n*/) const {
    if (sourceText == nullptr || sourceText[0] == '\0') return {};
    const std::string text = TrResource(sourceText);
    // An empty answer tells the toolkit to keep its own text.
    if (text == sourceText) return {};
    return QString::fromStdString(text);
}

}  // namespace z5r
