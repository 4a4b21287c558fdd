#include "RecordSamples.h"

#include "core/records/ObjectForm.h"

#include <gtest/gtest.h>

#include <string>

using namespace morvex;
using namespace morvex::test;

namespace {

struct BadForm
{
    const char *what;
    QByteArray json;
    std::string message; // the error's text must contain this
};

// A valid session record form with one field's text replaced.
QByteArray sessionWith(const char *from, const char *to)
{
    QByteArray text = toObjectForm(TSonucBilgisi());
    EXPECT_TRUE(text.contains(from)) << from;
    return text.replace(from, to);
}

QByteArray screensWith(const QByteArray &items, const QByteArray &count = ",\"FCount\":1")
{
    return R"({"type":"mobilstokunit.TAcilisEkranlar","id":1,"fields":{"FItems":[)" + items + "]" + count
        + "}}";
}

const QByteArray kScreen
    = R"({"type":"mobilstokunit.TAcilisEkran","id":2,"fields":{"FSiraNo":1,"FResim":"","FBaslik":"","FArama":""}})";

std::vector<BadForm> badForms()
{
    return {
        { "empty text", "", "malformed object form" },
        { "cut short", R"({"type":"baglantiu.TSonucBilgisi","id":1,"fields":{"FBILGISAYARID":")",
            "malformed object form" },
        { "trailing garbage", toObjectForm(TTusSonuclari()) + "}", "malformed object form" },
        { "not JSON", "<html>", "malformed object form" },
        { "an array", "[]", "not a JSON object" },
        { "invalid UTF-8", "{\"type\":\"baglantiu.TSonucBilgisi\",\"fields\":{\"FADI\":\"\xC5\"}}",
            "malformed object form" },
        { "unknown type", R"({"type":"baglantiu.TBilinmeyen","id":1,"fields":{}})",
            "Internal: Cannot instantiate type baglantiu.TBilinmeyen" },
        { "type without unit", R"({"type":"TSonucBilgisi","id":1,"fields":{}})",
            "Internal: Cannot instantiate type TSonucBilgisi" },
        { "type in other case", R"({"type":"BAGLANTIU.TSONUCBILGISI","id":1,"fields":{}})",
            "Internal: Cannot instantiate type BAGLANTIU.TSONUCBILGISI" },
        { "unknown element type", screensWith(R"({"type":"mobilstokunit.TReklam","id":2,"fields":{}})"),
            "Internal: Cannot instantiate type mobilstokunit.TReklam" },
        { "no type", R"({"id":1,"fields":{}})", "object form has no \"type\" string" },
        { "type not text", R"({"type":7,"id":1,"fields":{}})", "object form has no \"type\" string" },
        { "no fields", R"({"type":"baglantiu.TSonucBilgisi","id":1})",
            "baglantiu.TSonucBilgisi: \"fields\" is missing or not an object" },
        { "fields not an object", R"({"type":"baglantiu.TTusSonuclari","id":1,"fields":[]})",
            "baglantiu.TTusSonuclari: \"fields\" is missing or not an object" },
        { "id not a number", sessionWith("\"id\":1", "\"id\":\"1\""),
            "baglantiu.TSonucBilgisi: \"id\" is not an integer" },
        { "missing field", sessionWith("\"FSaticiNo\":0,", ""),
            "baglantiu.TSonucBilgisi, field \"FSaticiNo\": is missing" },
        { "field name in other case", sessionWith("\"FCARINO\"", "\"FCariNo\""),
            "baglantiu.TSonucBilgisi, field \"FCARINO\": is missing" },
        { "text as number", sessionWith("\"FADI\":\"\"", "\"FADI\":5"),
            "baglantiu.TSonucBilgisi, field \"FADI\": must be a string, found a number" },
        { "text as null", sessionWith("\"FADI\":\"\"", "\"FADI\":null"),
            "baglantiu.TSonucBilgisi, field \"FADI\": must be a string, found null" },
        { "integer as text", sessionWith("\"FCARINO\":0", "\"FCARINO\":\"0\""),
            "baglantiu.TSonucBilgisi, field \"FCARINO\": must be an integer, found a string" },
        { "integer with fraction", sessionWith("\"FCARINO\":0", "\"FCARINO\":1.5"),
            "baglantiu.TSonucBilgisi, field \"FCARINO\": must be a 32-bit integer" },
        { "integer too large", sessionWith("\"FCARINO\":0", "\"FCARINO\":2147483648"),
            "baglantiu.TSonucBilgisi, field \"FCARINO\": must be a 32-bit integer" },
        { "integer too small", sessionWith("\"FCARINO\":0", "\"FCARINO\":-2147483649"),
            "baglantiu.TSonucBilgisi, field \"FCARINO\": must be a 32-bit integer" },
        { "boolean as number", sessionWith("\"FVarmi\":false", "\"FVarmi\":0"),
            "baglantiu.TSonucBilgisi, field \"FVarmi\": must be true or false, found a number" },
        { "real as text", toObjectForm(TMobilStok()).replace("\"FKDV\":18", "\"FKDV\":\"18\""),
            "mobilstokunit.TMobilStok, field \"FKDV\": must be a number, found a string" },
        { "array as object",
            R"({"type":"mobilstokunit.TAcilisEkranlariki","id":1,"fields":{"FEkranlar":{}}})",
            "mobilstokunit.TAcilisEkranlariki, field \"FEkranlar\": must be an array, found an object" },
        { "null in array",
            R"({"type":"mobilstokunit.TAcilisEkranlariki","id":1,"fields":{"FEkranlar":[null]}})",
            "mobilstokunit.TAcilisEkranlariki, field \"FEkranlar\": element 0 must be an object, found "
            "null" },
        { "list without items", R"({"type":"mobilstokunit.TMobilStoklar","id":1,"fields":{"FCount":0}})",
            "mobilstokunit.TMobilStoklar, field \"FItems\": is missing" },
        { "null element within count", screensWith(kScreen + ",null", ",\"FCount\":2"),
            "mobilstokunit.TAcilisEkranlar, field \"FItems\": element 1 must be an object, found null" },
        { "count beyond items", screensWith(kScreen, ",\"FCount\":2"),
            "mobilstokunit.TAcilisEkranlar, field \"FCount\": must be a whole number from 0 to the 1 "
            "elements" },
        { "negative count", screensWith(kScreen, ",\"FCount\":-1"),
            "mobilstokunit.TAcilisEkranlar, field \"FCount\": must be a whole number" },
        { "element of another class", screensWith(toObjectForm(TMobilStok())),
            "mobilstokunit.TAcilisEkranlar, field \"FItems\": element 0 is a mobilstokunit.TMobilStok, "
            "expected "
            "mobilstokunit.TAcilisEkran" },
        { "element without type", screensWith(R"({"id":2,"fields":{}})"),
            "mobilstokunit.TAcilisEkranlar, field \"FItems\", element 0 has no \"type\" string" },
        { "bad field in element",
            screensWith(QByteArray(kScreen).replace("\"FSiraNo\":1", "\"FSiraNo\":true")),
            "mobilstokunit.TAcilisEkran, field \"FSiraNo\": must be an integer, found a boolean" },
        { "reference to nothing", screensWith(R"({"type":"mobilstokunit.TAcilisEkran","ref":9})"),
            "mobilstokunit.TAcilisEkranlar, field \"FItems\": element 0 refers to no earlier object" },
        { "reference to its container",
            R"({"type":"mobilstokunit.TAcilisEkranlariki","id":1,"fields":{"FEkranlar":[{"type":"mobilstokunit.TAcilisEkran","ref":1}]}})",
            "mobilstokunit.TAcilisEkranlariki, field \"FEkranlar\": element 0 refers to an object that "
            "contains it" },
    };
}

} // namespace

TEST(ObjectFormErrors, BadFormsFailWithAClearMessage)
{
    for (const BadForm &form : badForms()) {
        SCOPED_TRACE(form.what);
        try {
            const auto object = objectFromForm(form.json);
            ADD_FAILURE() << "read as " << (object ? object->qualifiedTypeName().data() : "null");
        } catch (const ObjectFormError &error) {
            EXPECT_NE(std::string(error.what()).find(form.message), std::string::npos) << error.what();
        }
    }
}

TEST(ObjectFormErrors, UnknownTypeMessageIsExact)
{
    try {
        objectFromForm(R"({"type":"mobilstokunit.TMobilStokEski","id":1,"fields":{}})");
        FAIL() << "read";
    } catch (const std::runtime_error &error) {
        EXPECT_STREQ(error.what(), "Internal: Cannot instantiate type mobilstokunit.TMobilStokEski");
    }
}

TEST(ObjectFormErrors, TypedReadRefusesAnotherClass)
{
    const QByteArray screens = toObjectForm(TAcilisEkranlar());
    EXPECT_NE(objectFromFormAs<TAcilisEkranlar>(screens), nullptr);
    try {
        objectFromFormAs<TSonucBilgisi>(screens);
        FAIL() << "read";
    } catch (const ObjectFormError &error) {
        EXPECT_STREQ(error.what(),
            "expected an object of type baglantiu.TSonucBilgisi, got mobilstokunit.TAcilisEkranlar");
    }
}
