// The launcher's texts, through the message catalogue.
#pragma once

#include <string>

namespace z5r {

// "Программный комплекс Z5R".
std::string ProductTitleText();

// The rights notice in three lines: the maker, the years, the reservation.
std::string RightsNoticeText();

// "Ошибка".
std::string ErrorCaptionText();

// "Файл " + name + " не найден. Пожалуйста переустановите программу.".
std::string FileNotFoundText(const std::string& fileName);

}  // namespace z5r
