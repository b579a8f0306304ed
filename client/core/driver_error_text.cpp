#include "core/driver_error_text.h"

#include <cstdint>
#include <cstdio>

#include "korvel/korvel_v8n.h"
#include "z5r/i18n.h"

namespace z5r {
namespace {

const char* Description(korvel::HRESULT result) {
    using namespace korvel;
    switch (result) {
    case S_OK: return Z5R_TEXT("Операция успешно завершена.");
    case E_NOTIMPL: return Z5R_TEXT("Не реализовано.");
    case E_NOINTERFACE: return Z5R_TEXT("Интерфейс не поддерживается.");
    case E_POINTER: return Z5R_TEXT("Недопустимый указатель.");
    case E_FAIL: return Z5R_TEXT("Неопознанная ошибка.");
    case E_INVALIDARG: return Z5R_TEXT("Неверный параметр.");
    case CO_E_NOTINITIALIZED: return Z5R_TEXT("Подсистема COM не инициализирована.");
    case REGDB_E_CLASSNOTREG: return Z5R_TEXT("Класс не зарегистрирован.");
    case CLASS_E_NOAGGREGATION: return Z5R_TEXT("Класс не поддерживает агрегирование.");
    case KORVEL_E_UNSUPPORTED_INSTRUMENT: return Z5R_TEXT("Неподдерживаемый тип прибора.");
    case KORVEL_E_INSTRUMENT_NOT_FOUND: return Z5R_TEXT("Прибор не найден.");
    case KORVEL_E_NOT_INITIALIZED: return Z5R_TEXT("Драйвер не инициализирован.");
    case KORVEL_E_INSTRUMENT_STATUS: return Z5R_TEXT("Прибор сообщил об ошибке.");
    case KORVEL_E_IO: return Z5R_TEXT("Ошибка обмена с прибором.");
    case KORVEL_E_BAD_ANSWER: return Z5R_TEXT("Неверный ответ прибора.");
    default: return Z5R_TEXT("Неизвестная ошибка.");
    }
}

}  // namespace

std::string DriverErrorText(korvel::HRESULT result) {
    char code[24];
    std::snprintf(code, sizeof code, " (0x%08X)", static_cast<std::uint32_t>(result));
    return Tr(Description(result)) + code;
}

}  // namespace z5r
