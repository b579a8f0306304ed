#include "model/profile_list_file.h"

#include "korvel/common/xml_document.h"
#include "z5r/i18n.h"

namespace z5r {

namespace {

SPromptMessage ErrorMessage(const char* text) {
    return SPromptMessage{Tr(Z5R_TEXT("Ошибка")), Tr(text), EPromptIcon::Error, EPromptButtons::Ok, pfNone};
}

}  // namespace

ESecureListTest SecureListTestFor(bool superuserMenu, bool connected, bool defaultFile) {
    return superuserMenu && connected && !defaultFile ? ESecureListTest::Require : ESecureListTest::Skip;
}

EProfileListRead ReadProfileListFile(const std::string& path, ESecureListTest test,
                                     std::vector<SProfile>& profiles) {
    VxCore::CXMLDocument doc(true);
    doc.SetCompression(true);
    doc.SetSignature(kProfileListSignature);
    if (doc.Open(path.c_str()) != VxCore::xdrOk) return EProfileListRead::Unreadable;
    const EProfileListRead result = ReadProfileListDocument(doc.Doc(), test, profiles);
    doc.Close();
    return result;
}

EProfileListWrite WriteProfileListFile(const std::string& path, const std::vector<SProfile>& profiles,
                                       EProfileListMark mark) {
    VxCore::CXMLDocument doc(true);
    doc.Open(nullptr);
    doc.SetSignature(kProfileListSignature);
    doc.SetCompression(true);
    BuildProfileListDocument(doc.Doc(), profiles, mark);
    return doc.Save(path.c_str()) == VxCore::xdrOk ? EProfileListWrite::Written : EProfileListWrite::CannotWrite;
}

std::optional<SPromptMessage> ProfileListReadMessage(EProfileListRead result) {
    switch (result) {
        case EProfileListRead::Read:
        case EProfileListRead::Unreadable:
            return std::nullopt;
        case EProfileListRead::BadFormat:
            return ErrorMessage(Z5R_TEXT("Файл профилей имеет неправильный формат."));
        case EProfileListRead::NotSecureList:
            return ErrorMessage(
                Z5R_TEXT("Файл профилей имеет неправильный формат. Будет загружен профиль по умолчанию."));
    }
    return std::nullopt;
}

std::optional<SPromptMessage> ProfileListWriteMessage(EProfileListWrite result) {
    if (result == EProfileListWrite::Written) return std::nullopt;
    return ErrorMessage(Z5R_TEXT("Не удалось сохранить файл профилей."));
}

}  // namespace z5r
