// Hands the toolkit's own texts (standard button captions, edit menus) to the
// catalogue's additional domain, so they follow the selected language too.
#pragma once

#include <QTranslator>

namespace z5r {

class CCatalogueTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override;
    bool isEmpty() const override { return false; }
};

}  // namespace z5r
