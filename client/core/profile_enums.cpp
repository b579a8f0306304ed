#include "core/profile_enums.h"

#include "z5r/i18n.h"

namespace z5r {

const std::array<const char*, 5> kOperatingModeItems = {
    Z5R_TEXT("Фиксированная частота и мощность"),
    Z5R_TEXT("Сканирование по частоте"),
    Z5R_TEXT("Сканирование по мощности"),
    Z5R_TEXT("Сканирование по частоте и мощности"),
    Z5R_TEXT("Сканирование по списку"),
};

const std::array<const char*, 3> kTriggerModeItems = {
    Z5R_TEXT("Автоматический"),
    Z5R_TEXT("Внешний"),
    Z5R_TEXT("Ручной"),
};

const std::array<const char*, 2> kRunModeItems = {
    Z5R_TEXT("Начало развертки"),
    Z5R_TEXT("Следующая точка"),
};

const std::array<const char*, 2> kSweepTypeItems = {
    Z5R_TEXT("Линейный"),
    Z5R_TEXT("Логарифмический"),
};

const std::array<const char*, 4> kAttStrategyItems = {
    Z5R_TEXT("Минимум гармоник"),
    Z5R_TEXT("Максимальное согласование"),
    Z5R_TEXT("Сбалансированный режим"),
    Z5R_TEXT("Минимум переключений"),
};

const std::array<const char*, 5> kSyncOutModeItems = {
    Z5R_TEXT("Не используется"),
    Z5R_TEXT("Старт развертки"),
    Z5R_TEXT("Следующая точка"),
    Z5R_TEXT("Захват ФАПЧ/АРМ"),
    Z5R_TEXT("Транслировать синхровход"),
};

const std::array<const char*, 4> kRefFrequencyItems = {
    Z5R_TEXT("1 МГц"),
    Z5R_TEXT("5 МГц"),
    Z5R_TEXT("10 МГц"),
    Z5R_TEXT("100 МГц"),
};

const std::array<const char*, 4> kPulseModeItems = {
    Z5R_TEXT("Нет"),
    Z5R_TEXT("Периодическая модуляция"),
    Z5R_TEXT("Пачка радиоимпульсов"),
    Z5R_TEXT("Внешний источник модуляции"),
};

std::string ItemCaption(std::span<const char* const> items, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return {};
    return Tr(items[static_cast<std::size_t>(index)]);
}

}  // namespace z5r
