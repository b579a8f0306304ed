#include "launcher_texts.h"

#include "z5r/i18n.h"
#include "z5r/product_contacts.h"

namespace z5r {

std::string ProductTitleText() { return Tr("Программный комплекс Z5R"); }

std::string RightsNoticeText() {
    return Tr("ООО «Корвел»") + "\n" + kRightsYears + "\n" + Tr("Все права защищены.");
}

std::string ErrorCaptionText() { return Tr("Ошибка"); }

std::string FileNotFoundText(const std::string& fileName) {
    return Tr("Файл ") + Tr(fileName) + Tr(" не найден. Пожалуйста переустановите программу.");
}

}  // namespace z5r
