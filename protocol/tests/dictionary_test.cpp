#include "kvproto/dictionary.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "kvproto/packet.h"

namespace {

using kvproto::CDictionary;
using kvproto::DictionaryEntry;
using NameAndValue = std::pair<std::string, int>;

std::vector<NameAndValue> NamesAndValues(const CDictionary& dictionary) {
    std::vector<NameAndValue> result;
    for (const DictionaryEntry& entry : dictionary.Entries()) result.emplace_back(entry.name, entry.value);
    return result;
}

TEST(Dictionary, TakesExplicitValuesAndCountsOnFromThem) {
    const CDictionary dictionary({
        {"FIRST", "a", 0},
        {"SECOND", "", 0},
        {"JUMP = 10", "", 0x20},
        {"AFTER_JUMP", "", 0},
        {"NEGATIVE = -5", "", 0},
        {"AFTER_NEGATIVE", "", 0},
        {"HEX = 0x1F", "", 0},
        {"WIDE_HEX = 0xFFFFFFFF", "", 0},
        {"lower = 0x1f", "", 0},       // lower-case hex is not a value
        {"WORD = ABC", "", 0},         // nor is a word
        {"TIGHT=7", "", 0},            // nor a value without the blanks
        {"HUGE = 99999999999", "", 0},  // nor one beyond 32 bits
        {nullptr, nullptr, 0},
    });
    const std::vector<NameAndValue> expected = {
        {"FIRST", 0},           {"SECOND", 1},       {"JUMP", 10},
        {"AFTER_JUMP", 11},     {"NEGATIVE", -5},    {"AFTER_NEGATIVE", -4},
        {"HEX", 31},            {"WIDE_HEX", -1},    {"lower = 0x1f", 0},
        {"WORD = ABC", 1},      {"TIGHT=7", 2},      {"HUGE = 99999999999", 3},
        {"", 4},
    };
    EXPECT_EQ(NamesAndValues(dictionary), expected);
    EXPECT_EQ(dictionary.FindByName("JUMP")->format, 0x20);
    EXPECT_EQ(dictionary.FindByName("FIRST")->text, "a");
    EXPECT_EQ(dictionary.FindByName("JUMP = 10"), nullptr);
    EXPECT_EQ(dictionary.FindByName("jump"), nullptr);
}

TEST(Dictionary, EarlierEntryWinsOnSharedValue) {
    const CDictionary dictionary({{"A", "", 0}, {"B", "", 0}, {"C = 1", "", 0}, {"B = 1", "late", 0}});
    EXPECT_EQ(dictionary.FindByValue(1)->name, "B");
    EXPECT_EQ(dictionary.FindByName("B")->text, "");
    EXPECT_EQ(dictionary.FindByValue(2), nullptr);
}

TEST(CommandTable, NamesTheCodesInOrder) {
    const std::vector<NameAndValue> expected = {{"KV_TEST", 0},   {"KV_RESET", 1}, {"KV_INIT", 2},
                                                {"KV_SET", 3},    {"KV_GET", 4},   {"KV_GET_LIST", 5},
                                                {"KV_RUN", 6}};
    EXPECT_EQ(NamesAndValues(kvproto::CommandDictionary()), expected);
    EXPECT_EQ(kvproto::CommandDictionary().FindByValue(kvproto::KV_GET_LIST)->name, "KV_GET_LIST");
}

// The identifiers are the contract with the instruments: the whole list.
TEST(ParameterTable, HasTheInstrumentsIdentifiersInOrder) {
    const std::vector<NameAndValue> expected = {
    {"P_FREQUENCY", 0}, {"P_AUTO_GAIN", 1}, {"P_FREQUENCY_LIST2", 2}, {"P_MODE", 3},
    {"P_AVERAGING", 4}, {"P_INTERVAL", 5}, {"P_TEMPERATURE", 6}, {"P_SYNC_IN", 7},
    {"P_SYNC_OUT", 8}, {"P_SYNC_OUT2", 9}, {"P_FILE", 10}, {"P_COMPENSATION", 11}, {"P_RF_OUT", 12},
    {"P_ETHERNET", 13}, {"P_SER_NUM", 14}, {"P_DATES", 15}, {"P_RUN_TIME", 16},
    {"P_EXT_REF_GEN", 17}, {"P_BOOTROM", 18}, {"P_SYNTH04", 19}, {"P_ADC_PARAM", 20},
    {"P_SYNTH04_GET_DAC", 21}, {"P_SYNTH04_EPROM", 22}, {"P_CONFIG", 23}, {"P_RAM", 24},
    {"P_EPROM", 25}, {"P_RF_OUT_LIST", 26}, {"P_SEARCH_POWER", 27}, {"P_INT_COMMAND", 28},
    {"P_CALIBR", 29}, {"P_REGUL_CURVE", 30}, {"P_MODULATION", 31}, {"P_BLOCKINFRAM", 32},
    {"P_BOOTROM2", 33}, {"P_RF_BUTTON", 34}, {"P_CALIBR_FREQ", 35}, {"P_POINTS_LIST", 36},
    {"P_GEN_SYNC", 37}, {"P_REGUL_CURVE_2", 38}, {"P_AVTOZERO", 39}, {"P_V8N_MAX_NUMBER", 40},
    {"P_CLK", 50}, {"P_AUX", 51}, {"P_AGC", 52}, {"P_DECIMATION", 53}, {"P_FACTOR", 54},
    {"P_CHANNEL_MASK", 55}, {"P_RRS_FREQUENCY", 56}, {"P_RRS_ATTENUATE", 57},
    {"P_RRS_BASE_ATTENUATE", 58}, {"P_RRS_REL_ATTENUATE", 59}, {"P_RRS_RF_IN", 60},
    {"P_RRS_TEMPERATURE", 61}, {"P_GEN_REL_FREQUENCY", 62}, {"P_GEN_ATTENUATE", 63},
    {"P_GEN_RF_OUT", 64}, {"P_LVDS_STATUS", 65}, {"P_IF_FILTER_BANDWIDTH", 66}, {"P_NOISE_GEN", 67},
    {"P_TABLE_NKPP", 68}, {"P_VIDEO_FILTER_BANDWIDTH", 69}, {"P_SWITCH", 70},
    {"P_DISPLAY_DETECTOR", 71}, {"P_RRS_LOW_NOISE_AMPL", 72}, {"P_ECAL_STATE", 73},
    {"P_IF_AMPLIFY", 74}, {"P_IF_COEFFICIENTS", 75}, {"P_RF_OUT_LIST2", 76}, {"P_SYNTH_MODE", 77},
    {"P_EXT_REF_GEN2", 78}, {"P_RF_OUT2", 79}, {"P_PHASE_GEN", 80}, {"P_AC_DC_INPUT", 81},
    {"P_CORR_FR", 82}, {"P_SID", 83}, {"P_PRESELECTOR_OFFSET", 84}, {"P_LO1_MODE", 85},
    {"P_IF_PROCESSING", 86}, {"P_RRS_FREQUENCY_COUNTER", 87}, {"P_RRS_REFERENCE_LEVEL", 88},
    {"P_MEASURE_TIME", 89}, {"P_OPTIMUM_POINTS", 90}, {"P_TIME", 91}, {"P_PHASE", 92},
    {"P_SYNC_PARAM", 93}, {"P_LOG_KOEF", 94}, {"P_SWEEP_TIME", 95}, {"P_MAX_MIXER_LEVEL", 96},
    {"P_INPUT_TYPE", 97}, {"P_RF_INPUT", 98}, {"P_ADC_DITHERING", 99}, {"P_W2T_UNITS", 200},
    {"P_W2T_DIGIT", 201}, {"P_W2T_LIGHT", 202}, {"P_W2T_ZEROING", 203}, {"P_POWER_OFFSET", 204},
    {"P_DATE_TIME", 205}, {"P_PROFILE", 206}, {"P_LIMITS", 207}, {"P_MEMORY", 208},
    {"P_CURRENT_POW", 209}, {"P_MAX_NUMBER", 210},
    };
    ASSERT_EQ(kvproto::ParameterDictionary().Entries().size(), 102u);
    EXPECT_EQ(NamesAndValues(kvproto::ParameterDictionary()), expected);
}

TEST(ParameterTable, CarriesKnownFormatsAndDescriptions) {
    const CDictionary& parameters = kvproto::ParameterDictionary();
    const std::vector<std::pair<const char*, int>> formats = {
        {"P_MODE", 0x20},           {"P_AVERAGING", 0x10}, {"P_RRS_FREQUENCY", 0x60},
        {"P_IF_FILTER_BANDWIDTH", 0x40}, {"P_DISPLAY_DETECTOR", 0x10}, {"P_LOG_KOEF", 0x42},
        {"P_CLK", 0x40},            {"P_FREQUENCY", 0x60}, {"P_W2T_UNITS", 0}};
    for (const auto& [name, format] : formats) {
        ASSERT_NE(parameters.FindByName(name), nullptr) << name;
        EXPECT_EQ(parameters.FindByName(name)->format, format) << name;
    }
    const std::vector<std::pair<const char*, const char*>> texts = {
        {"P_FREQUENCY", "Диапазон частот"},
        {"P_MODE", "Режим работы прибора"},
        {"P_RRS_FREQUENCY", "Диапазон частот настройки РПТ"},
        {"P_LOG_KOEF", "Поправочный коэффициент (дБ) для режима S4_IQ"},
        {"P_W2T_UNITS", "Единицы измерения W2T"},
        {"P_MAX_NUMBER", "Число параметров"}};
    for (const auto& [name, text] : texts) EXPECT_EQ(parameters.FindByName(name)->text, text) << name;
}

TEST(StatusTable, HasEveryCodeInOrder) {
    const std::vector<NameAndValue> expected = {
    {"KV_NO_ERROR", 0}, {"KV_PARAMETER_CORRECTED", 1}, {"KV_PARAMETER_IGNORED", 2},
    {"KV_TIMEOUT", 3}, {"KV_ETHERNET", 4}, {"KV_FINISH", 5}, {"KV_UNLEVEL", 6},
    {"KV_BREAK_FLOW", 7}, {"KV_RF_OVERLOAD", 8}, {"KV_ADC_OVERLOAD", 9}, {"KV_IF_OVERLOAD", 10},
    {"KV_IF1_OVERLOAD", 11}, {"KV_IF2_OVERLOAD", 12}, {"KV_IF3_OVERLOAD", 13},
    {"KV_IF4_OVERLOAD", 14}, {"KV_IF5_OVERLOAD", 15}, {"KVAPI_XML_EMPTY_VALUE", 15},
    {"SE_DEVICE_DONT_ANSWER", 20480}, {"SE_WRITE_ERROR", 20481}, {"SE_READ_ERROR", 20482},
    {"SE_CANT_CONNECT", 20483}, {"SE_READ_HEAD_TIMEOUT", 20484}, {"SE_READ_BODY_TIMEOUT", 20485},
    {"SE_READ_TIMEOUT", 20486}, {"SE_WRITE_TIMEOUT", 20487}, {"SE_READ_BODY_NOT_READY", 20488},
    {"SE_HAVE_READ_WRONG_SIZE", 20489}, {"SE_HAVE_WRITE_WRONG_SIZE", 20490},
    {"SE_CANT_EXTRACT_MEMORY", 20491}, {"SE_CANT_FREE_MEMORY", 20492}, {"SE_CANT_OPEN_FILE", 20493},
    {"SE_TRY_TO_READ_WRONG_CALIB_DATA", 20494}, {"SE_TRY_TO_READ_WRONG_S2P_DATA", 20495},
    {"SE_WRITE_FILE_ERROR", 20496}, {"SE_READ_FILE_ERROR", 20497},
    {"SE_CANT_FIND_SUCH_PROFILE_NAME", 20498}, {"SE_DETECTOR_CALIB_DATA_FILE_READ_ERROR", 20499},
    {"SE_DEVICE_WAIT_SYNCHRO_SIGNAL", 20500}, {"SE_DATA_READ_FROM_FILE_CHECK_ERROR", 20501},
    {"SE_INVALID_SIGNATURE", 20502}, {"SE_UNKNOWN_ERROR", 20503}, {"SE_COMMAND_LINE_ERROR", 20504},
    {"SE_OPERATION_CANCELED", 20505}, {"SE_CONNECTION_LOST", 20506}, {"KV_CRITICAL_ERROR", -32768},
    {"KV_UNKNOWN_COMMAND", -32767}, {"KV_UNKNOWN_PARAMETER", -32766},
    {"KV_PARAMETER_INCORRECT", -32765}, {"KV_NO_PARAMETERS", -32764}, {"KV_SMALL_SIZE", -32763},
    {"KV_PLD_ERROR", -32762}, {"KV_LO1_NO_PLL", -32761}, {"KV_LO2_NO_PLL", -32760},
    {"KV_LO3_NO_PLL", -32759}, {"KV_SYNC_TIMEOUT", -32758}, {"KV_SYNTH_TIMEOUT", -32757},
    {"KV_ADC_ERROR", -32756}, {"KV_SIZE_ERROR", -32755}, {"KV_SIGNATURE_ERROR", -32754},
    {"KV_EPROM_ERROR", -32753}, {"KV_EPROM_MISMATCH", -32752}, {"KV_CALIBR_T2_ERROR", -32751},
    {"KV_CALIBR_T2_SIZE_ERROR", -32750}, {"KV_LVDS_TIMEOUT", -32749},
    {"KV_LVDS_DEVICE_ERROR", -32748}, {"KV_LVDS_REGISTER_ERROR", -32747},
    {"KV_ASYNC_TIMEOUT", -32746}, {"KV_LOCAL_CONTROL", -32745}, {"KV_FILE_FORMAT_ERROR", -32744},
    {"KV_LVDS_DOUBLE_READ", -32743}, {"KV_ERROR_SYNT_MODE", -32742}, {"KV_SATA_ERROR", -32741},
    {"KV_EXTREF_NO_PLL", -32740}, {"KV_SYNTH_NO_PLL", -32739}, {"KV_LO4_NO_PLL", -32738},
    {"KV_LO5_NO_PLL", -32737}, {"KVAPI_REQUEST_FAIL", -32512}, {"KVAPI_FILE_SYSTEM_ERROR", -32511},
    {"KVAPI_PATH_NOTFOUND", -32510}, {"KVAPI_FILE_NOTFOUND", -32509}, {"KVAPI_READ_ERROR", -32508},
    {"KVAPI_WRITE_ERROR", -32507}, {"KVAPI_ACCESS_DENIED", -32506}, {"KVAPI_CRC_ERROR", -32505},
    {"KVAPI_ILLEGAL_BOOTFILE", -32504}, {"KVAPI_NOT_ENOUGH_SPACE", -32503},
    {"KVAPI_NOT_ENOUGH_FILESIZE", -32502}, {"KVAPI_FTP_TIMEOUT", -32501},
    {"KVAPI_XML_NODE_NOTFOUND", -32500}, {"KVAPI_ERROR2", -32499}, {"KVAPI_ERROR3", -32498},
    {"KVAPI_ERROR4", -32497}, {"KVAPI_ERROR5", -32496}, {"KV_CTRL_NOT_ENOUGH_MEMORY", -32495},
    {"KV_CTRL_WRONG_CALC_DATA", -32494}, {"KV_CTRL_RESET_LOAD_DEVICE", -32493},
    {"KV_CTRL_WRONG_FREQ_DIVIDER", -32492}, {"KV_CTRL_REQUEST_TIMEOUT", -32491},
    {"KV_CTRL_TIME_NOT_OUT", -32490}, {"KV_CTRL_WRONG_FREQ", -32489},
    {"KV_CTRL_WRONG_SOURCE_DATA", -32488}, {"KV_CTRL_CLASS_USING_ERROR", -32487},
    {"KV_CTRL_WRONG_STAGE", -32486}, {"KV_CTRL_WRONG_ARGUMENT", -32485}, {"KV_CTRL_ERROR2", -32484},
    {"KV_CTRL_ERROR3", -32483}, {"KV_CTRL_ERROR4", -32482}, {"KV_CTRL_ERROR5", -32481},
    {"KV_CTRL_ERROR6", -32480}, {"KV_CTRL_ERROR7", -32479}, {"KV_CTRL_ERROR8", -32478},
    {"KV_CTRL_ERROR9", -32477}, {"KV_CTRL_ERROR10", -32476}, {"KV_W2T_USER_CHANGES", -32475},
    };
    ASSERT_EQ(kvproto::StatusDictionary().Entries().size(), 114u);
    EXPECT_EQ(NamesAndValues(kvproto::StatusDictionary()), expected);
}

TEST(StatusTable, TextsAreEmptyExactlyWhereNoneIsKnown) {
    const std::vector<std::string> withoutText = {
        "KV_ETHERNET", "SE_HAVE_READ_WRONG_SIZE", "SE_HAVE_WRITE_WRONG_SIZE", "SE_CANT_EXTRACT_MEMORY",
        "SE_CANT_FIND_SUCH_PROFILE_NAME", "SE_DETECTOR_CALIB_DATA_FILE_READ_ERROR",
        "SE_DEVICE_WAIT_SYNCHRO_SIGNAL", "SE_DATA_READ_FROM_FILE_CHECK_ERROR", "KV_CALIBR_T2_ERROR",
        "KV_CALIBR_T2_SIZE_ERROR"};
    std::vector<std::string> empty;
    for (const DictionaryEntry& entry : kvproto::StatusDictionary().Entries()) {
        if (entry.text.empty()) empty.push_back(entry.name);
    }
    EXPECT_EQ(empty, withoutText);
}

TEST(StatusTable, LooksUpFirstEntryByValue) {
    const CDictionary& statuses = kvproto::StatusDictionary();
    ASSERT_NE(statuses.FindByValue(-32767), nullptr);
    EXPECT_EQ(statuses.FindByValue(-32767)->name, "KV_UNKNOWN_COMMAND");
    EXPECT_EQ(statuses.FindByValue(-32767)->text, "Команда не поддерживается прибором");
    EXPECT_EQ(statuses.FindByValue(-32475)->name, "KV_W2T_USER_CHANGES");
    EXPECT_EQ(statuses.FindByValue(15)->name, "KV_IF5_OVERLOAD");
    EXPECT_EQ(statuses.FindByValue(20480)->name, "SE_DEVICE_DONT_ANSWER");
    EXPECT_EQ(statuses.FindByValue(-32512)->name, "KVAPI_REQUEST_FAIL");
    EXPECT_EQ(statuses.FindByValue(-32768)->text, "Прибор находится в состоянии критической ошибки");
    EXPECT_EQ(statuses.FindByValue(-1), nullptr);
    EXPECT_EQ(statuses.FindByName("KVAPI_XML_EMPTY_VALUE")->text, "Ошибка преобразования XML-поля в число");
}

TEST(StatusTable, StatusTextDistinguishesUnknownFromUntexted) {
    EXPECT_EQ(kvproto::StatusText(-32767), "Команда не поддерживается прибором");
    EXPECT_EQ(kvproto::StatusText(-32751), "");  // KV_CALIBR_T2_ERROR: known, no text
    EXPECT_EQ(kvproto::StatusText(-1), "Неизвестная ошибка");
    EXPECT_EQ(kvproto::StatusText(-32000), "Неизвестная ошибка");
    EXPECT_EQ(kvproto::StatusText(15), "Перегрузка на 5-ой промежуточной частоте");
    EXPECT_EQ(kvproto::StatusText(20506), "Отсутствует соединение с прибором");
}

}  // namespace
