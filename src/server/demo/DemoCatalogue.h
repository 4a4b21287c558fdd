#pragma once

#include <QStringView>

namespace morvex::server::demo {

// The vocabulary the generated spare-parts stock is made of.
struct PartType
{
    QStringView name;
    QStringView otherName;
    QStringView group;
    double basePrice;
    bool sided;
};

struct Vehicle
{
    QStringView make;
    QStringView model;
    QStringView oemPrefix;
};

struct Brand
{
    QStringView name;
    QStringView codePrefix;
    QStringView currency;
};

inline constexpr PartType kPartTypes[] = {
    {u"FREN BALATASI", u"DİSK BALATA", u"FREN SİSTEMİ", 640.0, true},
    {u"FREN DİSKİ", u"DİSK AYNASI", u"FREN SİSTEMİ", 1150.0, true},
    {u"FREN KAMPANASI", u"KAMPANA", u"FREN SİSTEMİ", 980.0, false},
    {u"FREN MERKEZİ", u"ANA MERKEZ", u"FREN SİSTEMİ", 1890.0, false},
    {u"DEBRİYAJ SETİ", u"KAVRAMA SETİ", u"DEBRİYAJ", 3450.0, false},
    {u"DEBRİYAJ RULMANI", u"BASKI RULMANI", u"DEBRİYAJ", 720.0, false},
    {u"AMORTİSÖR", u"SÜSPANSİYON AMORTİSÖRÜ", u"SÜSPANSİYON", 1560.0, true},
    {u"AMORTİSÖR TAKOZU", u"ÜST TABLA", u"SÜSPANSİYON", 410.0, true},
    {u"ROT BAŞI", u"ROT UCU", u"DİREKSİYON", 380.0, true},
    {u"ROTİL", u"ALT ROTİL", u"DİREKSİYON", 520.0, true},
    {u"SALINCAK", u"ALT SALINCAK", u"SÜSPANSİYON", 1340.0, true},
    {u"Z ROT", u"VİRAJ DEMİR ROTU", u"SÜSPANSİYON", 290.0, true},
    {u"AKS KÖRÜĞÜ", u"AKS TOZ LASTİĞİ", u"AKTARMA", 210.0, false},
    {u"TRİGER SETİ", u"EKSANTRİK KAYIŞ SETİ", u"MOTOR", 2780.0, false},
    {u"V KAYIŞI", u"ALTERNATÖR KAYIŞI", u"MOTOR", 260.0, false},
    {u"GERGİ RULMANI", u"KAYIŞ GERGİSİ", u"MOTOR", 650.0, false},
    {u"SU POMPASI", u"DEVİRDAİM POMPASI", u"SOĞUTMA", 1240.0, false},
    {u"TERMOSTAT", u"TERMOSTAT GÖVDESİ", u"SOĞUTMA", 460.0, false},
    {u"RADYATÖR", u"MOTOR RADYATÖRÜ", u"SOĞUTMA", 2950.0, false},
    {u"YAĞ FİLTRESİ", u"MOTOR YAĞ FİLTRESİ", u"FİLTRE", 145.0, false},
    {u"HAVA FİLTRESİ", u"MOTOR HAVA FİLTRESİ", u"FİLTRE", 190.0, false},
    {u"POLEN FİLTRESİ", u"KABİN FİLTRESİ", u"FİLTRE", 165.0, false},
    {u"YAKIT FİLTRESİ", u"MAZOT FİLTRESİ", u"FİLTRE", 310.0, false},
    {u"BUJİ", u"ATEŞLEME BUJİSİ", u"ATEŞLEME", 120.0, false},
    {u"ATEŞLEME BOBİNİ", u"BOBİN", u"ATEŞLEME", 890.0, false},
    {u"MARŞ MOTORU", u"STARTER", u"ELEKTRİK", 4200.0, false},
    {u"ŞARJ DİNAMOSU", u"ALTERNATÖR", u"ELEKTRİK", 5100.0, false},
    {u"FAR", u"ÖN FAR", u"AYDINLATMA", 2350.0, true},
    {u"STOP LAMBASI", u"ARKA STOP", u"AYDINLATMA", 980.0, true},
    {u"SİLECEK SÜPÜRGESİ", u"SİLECEK LASTİĞİ", u"AKSESUAR", 175.0, false},
    {u"MOTOR TAKOZU", u"MOTOR KULAĞI", u"MOTOR", 540.0, true},
    {u"EGR VALFİ", u"EGR", u"MOTOR", 2640.0, false},
    {u"ENJEKTÖR", u"YAKIT ENJEKTÖRÜ", u"YAKIT SİSTEMİ", 3150.0, false},
    {u"KAPI KOLU", u"DIŞ KAPI KOLU", u"KAPORTA", 330.0, true},
    {u"AYNA CAMI", u"DIŞ DİKİZ AYNA CAMI", u"KAPORTA", 240.0, true},
};

inline constexpr Vehicle kVehicles[] = {
    {u"FIAT", u"DOBLO 1.3 MJT", u"5183"},        {u"FIAT", u"EGEA 1.4 FIRE", u"5202"},
    {u"FIAT", u"LINEA 1.3 MJT", u"5187"},        {u"RENAULT", u"CLIO IV 1.5 DCI", u"7701"},
    {u"RENAULT", u"MEGANE III 1.5 DCI", u"8200"}, {u"RENAULT", u"FLUENCE 1.6 16V", u"8201"},
    {u"DACIA", u"DUSTER 1.5 DCI", u"6001"},       {u"FORD", u"FOCUS III 1.6 TDCI", u"1 751"},
    {u"FORD", u"TRANSIT CONNECT 1.8", u"2T14"},   {u"VOLKSWAGEN", u"PASSAT B6 1.6 TDI", u"1K0"},
    {u"VOLKSWAGEN", u"GOLF VII 1.4 TSI", u"5Q0"}, {u"TOYOTA", u"COROLLA 1.6 VVT-I", u"04465"},
    {u"HYUNDAI", u"ACCENT ERA 1.5 CRDI", u"58101"}, {u"OPEL", u"ASTRA H 1.3 CDTI", u"9306"},
    {u"PEUGEOT", u"301 1.6 HDI", u"1609"},        {u"CITROEN", u"C-ELYSEE 1.6 HDI", u"1610"},
    {u"TOFAŞ", u"ŞAHİN 1.6", u"4600"},            {u"HONDA", u"CIVIC 1.6 I-VTEC", u"45022"},
};

inline constexpr Brand kBrands[] = {
    {u"BOSCH", u"0 986", u"€"},   {u"VALEO", u"VA", u"€"},       {u"SACHS", u"SA", u"€"},
    {u"MANN FILTER", u"W", u"€"}, {u"FEBI", u"FE", u"€"},        {u"LEMFÖRDER", u"LF", u"€"},
    {u"TRW", u"GDB", u"$"},       {u"GATES", u"K0", u"$"},       {u"SKF", u"VKM", u"€"},
    {u"DELPHI", u"LP", u"$"},     {u"NGK", u"BKR", u"$"},        {u"HELLA", u"1EL", u"€"},
    {u"MOTORAX", u"MX", u"TL"},   {u"ORVEX", u"ORV", u"TL"},     {u"YILDIZ PARÇA", u"YP", u"TL"},
};

inline constexpr QStringView kSides[] = {u"ÖN", u"ARKA", u"ÖN SAĞ", u"ÖN SOL", u"ARKA SAĞ", u"ARKA SOL"};

inline constexpr QStringView kCities[] = {u"İSTANBUL", u"ANKARA", u"İZMİR", u"BURSA", u"ANTALYA", u"KONYA",
                                          u"ADANA", u"GAZİANTEP", u"KAYSERİ", u"SAMSUN", u"TRABZON",
                                          u"ESKİŞEHİR", u"DİYARBAKIR", u"ERZURUM", u"MERSİN", u"DENİZLİ"};

inline constexpr QStringView kDealerWords[] = {u"ÖZTÜRK", u"ŞAHİN", u"ÇELİK", u"AYDIN", u"GÜNEŞ", u"DOĞAN",
                                               u"KILIÇ", u"ARSLAN", u"KORKMAZ", u"ERDOĞAN", u"YAVUZ", u"AKSOY"};

} // namespace morvex::server::demo
