#include "QtPrinters.h"

#include "core/remote/MethodCatalogue.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

    // "name:type/subtype/direction ..." of a signature, to compare with the declarations by eye.
    QString describe(const MethodSignature &signature)
    {
        QStringList parts;
        for (const ParamSpec &p : signature.params) {
            parts << u"%1:%2/%3/%4"_s.arg(p.name)
                         .arg(static_cast<int>(p.type))
                         .arg(p.subType)
                         .arg(static_cast<int>(p.direction));
        }
        return parts.join(u' ');
    }

    TEST(RemoteCatalogue, HoldsEveryMethodOnceInIdOrder)
    {
        const auto methods = methodCatalogue();
        ASSERT_EQ(methods.size(), 84u);
        QSet<QString> names;
        for (std::size_t i = 0; i < methods.size(); ++i) {
            EXPECT_EQ(static_cast<std::size_t>(methods[i].id), i);
            names.insert(QString::fromLatin1(methods[i].name).toLower());
            EXPECT_EQ(names.size(), static_cast<qsizetype>(i + 1))
                << methods[i].name << " differs from another only in case";
            EXPECT_EQ(methods[i].commandText(), u"TServerMethods1."_s + QLatin1StringView(methods[i].name));
        }
    }

    TEST(RemoteCatalogue, FindsMethodsByCommandTextIgnoringCase)
    {
        const struct
        {
            QString text;
            const char *found; // nullptr: none
        } cases[] = {
            { u"TServerMethods1.SepetVer"_s, "SepetVer" },
            { u"tservermethods1.SEPETVER"_s, "SepetVer" },
            { u"AcilisReklamVer"_s, "AcilisREklamVer" },
            { u"TServerMethods1.Yok"_s, nullptr },
            { u"TBaskaSinif.SepetVer"_s, nullptr },
            { u"TServerMethods1."_s, nullptr },
            { QString(), nullptr },
        };
        for (const auto &c : cases) {
            const RemoteMethod *method = findRemoteMethod(c.text);
            EXPECT_STREQ(method ? method->name : nullptr, c.found) << c.text.toStdString();
        }
    }

    // The signatures the server announces for methods whose shape is easy to get wrong; written out
    // here by hand from the declarations, not from the catalogue.
    TEST(RemoteCatalogue, SignaturesFollowTheDeclarations)
    {
        const struct
        {
            MethodId id;
            QString expected;
        } cases[] = {
            // input after the outputs keeps its declared position
            { MethodId::BelgeIndir2,
                u"sirano:6/0/1 size:18/0/2 adi:26/0/2 bilgi:37/40/1 ReturnParameter:33/40/4"_s },
            { MethodId::ResimVer5, u"stokno:6/0/1 boy:18/0/2 ReturnParameter:33/40/4"_s },
            { MethodId::BuyukResimVer, u"stokno:6/0/1 boy:6/0/2 ReturnParameter:26/0/4"_s },
            { MethodId::ResimVer6, u"stokno:6/0/1 boy:18/0/2 ReturnParameter:37/0/4"_s },
            { MethodId::CariEkstreVer2, u"carino:6/0/1 TARIH1:7/0/1 TARIH2:7/0/1 ReturnParameter:23/0/4"_s },
            { MethodId::KurlariAl, u"usd:7/0/2 eur:7/0/2 ReturnParameter:6/0/4"_s },
            { MethodId::SiparisKaydet,
                u"BB:37/40/1 _carino:6/0/1 _teslim:6/0/1 _kargo:6/0/1 _aciklama:26/0/1 _verenid:6/0/1 "
                u"_kargoyeni:6/0/1 "
                "ReturnParameter:4/0/4"_s },
            { MethodId::MobilStokaraAdimli,
                u"kod:26/0/1 bilgi:37/40/1 neresi:6/0/1 nekadar:6/0/1 ilk:6/0/1 Adet:6/0/1 kalan:4/0/2 "
                u"toplam:6/0/2 "
                "ReturnParameter:37/40/4"_s },
            { MethodId::MobilStokaraGeri,
                u"kod:26/0/1 bilgi:37/40/1 neresi:6/0/1 nekadar:6/0/1 geri:38/0/1 ReturnParameter:6/0/4"_s },
            { MethodId::CikisGonder, u"bilgi:37/40/1"_s },
            { MethodId::SepetSecimGuncelle, u"sirano:6/0/1 secim:6/0/1"_s },
            { MethodId::DSServerModuleCreate, u"Sender:37/40/1"_s },
            { MethodId::KayanYaziGetir, u"ReturnParameter:26/0/4"_s },
            { MethodId::DepartmanlariGetir, u"ReturnParameter:23/0/4"_s },
        };
        for (const auto &c : cases) {
            const RemoteMethod &method = remoteMethod(c.id);
            EXPECT_EQ(describe(methodSignature(method)), c.expected) << method.name;
        }
    }

    TEST(RemoteCatalogue, MailMethodsTakeSixteenTextsInOrder)
    {
        const QStringList names
            = u"idsi baslik firmaadi adres1 adres2 ilce sehir telefon fax vd vn yetkili kullaniciadi "
              "sifre mail kargoambar"_s.split(u' ');
        for (MethodId id : { MethodId::MailGonserCari, MethodId::MailGonserCariNormal }) {
            const auto params = remoteMethod(id).params();
            QStringList actual;
            for (const RemoteParam &p : params.first(16)) {
                EXPECT_EQ(p.kind, ValueKind::Text);
                actual << QLatin1StringView(p.name);
            }
            EXPECT_EQ(actual, names);
        }
        EXPECT_STREQ(remoteMethod(MethodId::MailGonserCariNormal).params()[16].name, "konu");
    }

} // namespace
} // namespace morvex
