#include "server/storage/ResultShapes.h"

#include <stdexcept>

namespace morvex::server {

namespace {

using enum FieldType;

constexpr ColumnSpec kStock[] = {
    {u"BARKOD", Text}, {u"FINISHKOD", Text}, {u"OEM1", Text}, {u"OEM2", Text}, {u"OEM3", Text},
    {u"ADI", Text}, {u"OEM4", Text}, {u"STOK_STOKNO", Int32}, {u"URETICIKODU", Text},
    {u"BARKOD_BARKODNO", Int32}, {u"DIGERADI", Text}, {u"DPKOD", Text}, {u"OEMNO", Text},
    {u"BIRIM", Text}, {u"MARKA", Text}, {u"MODEL", Text}, {u"ANAGRUP", Text}, {u"OZELKOD", Text},
    {u"KALAN", Double}, {u"PKOD", Text}, {u"KDV", Int32}, {u"ALINANSIPARIS", Double},
    {u"VERILENSIPARIS", Double}, {u"LISTEFIYATI", Double}, {u"MALIYET", Text}, {u"FIYAT", Double},
    {u"Y", Int32}, {u"K", Int32}, {u"INDIRIM", Double}, {u"NETFIYAT", Double}, {u"KDVDAHIL", Double},
    {u"DURUM", Int32},
};

constexpr ColumnSpec kCampaignStock[] = {
    {u"BARKOD", Text}, {u"FINISHKOD", Text}, {u"OEM1", Text}, {u"OEM2", Text}, {u"OEM3", Text},
    {u"ADI", Text}, {u"OEM4", Text}, {u"STOK_STOKNO", Int32}, {u"URETICIKODU", Text},
    {u"BARKOD_BARKODNO", Int32}, {u"DIGERADI", Text}, {u"DPKOD", Text}, {u"OEMNO", Text},
    {u"BIRIM", Text}, {u"MARKA", Text}, {u"MODEL", Text}, {u"ANAGRUP", Text}, {u"OZELKOD", Text},
    {u"KALAN", Double}, {u"PKOD", Text}, {u"KDV", Int32}, {u"ALINANSIPARIS", Double},
    {u"VERILENSIPARIS", Double}, {u"LISTEFIYATI", Double}, {u"MALIYET", Text}, {u"FIYAT", Double},
    {u"Y", Int32}, {u"K", Int32}, {u"INDIRIM", Double}, {u"NETFIYAT", Double}, {u"KDVDAHIL", Double},
    {u"DURUM", Int32}, {u"ESKIFIYAT", Double},
};

constexpr ColumnSpec kGenuineParts[] = {
    {u"KOD", Text}, {u"ACIKLAMA", Text}, {u"KDVHARIC", Double}, {u"KDVDAHIL", Double},
};

constexpr ColumnSpec kBasket[] = {
    {u"SIRANO", Int32}, {u"CARINO", Int32}, {u"STOKNO", Int32}, {u"STOK_STOKNO", Int32},
    {u"SEC", Int32}, {u"VERILISTARIHI", DateTime}, {u"TARIH", DateTime}, {u"SAAT", Text},
    {u"BARKOD", Text}, {u"FINISHKOD", Text}, {u"STOKADI", Text}, {u"MIKTAR", Double},
    {u"BIRIMFIYAT", Double}, {u"TUTAR", Double}, {u"INDIRIMORANI1", Double}, {u"INDIRIMORANI2", Double},
    {u"INDIRIMORANI3", Double}, {u"INDIRIMTUTAR", Double}, {u"NETBIRIMFIYAT", Double}, {u"KDV", Double},
    {u"VERGITUTARI", Double}, {u"NETTUTAR", Double}, {u"KDVLITUTAR", Double}, {u"VEREN", Text},
    {u"VERENIDNO", Int32}, {u"VERENSIRANO", Int32}, {u"DURUM", Int32}, {u"SIPARISNO", Int32},
    {u"OEMNO", Text}, {u"OEM1", Text}, {u"OEM2", Text}, {u"OEM3", Text}, {u"OEM4", Text},
    {u"DIGERADI", Text}, {u"DPKOD", Text}, {u"PKOD", Text}, {u"MARKA", Text}, {u"MODEL", Text},
    {u"ANAGRUP", Text}, {u"OZELKOD", Text}, {u"URETICIKODU", Text}, {u"KUR", Text}, {u"KURTL", Double},
    {u"ACIKLAMA", Text}, {u"AKTAR", Int32}, {u"TESLIMID", Int32}, {u"KARGOID", Int32}, {u"IDNO", Int32},
    {u"CARIKOD", Text}, {u"CARIADI", Text}, {u"KALAN", Double},
};

constexpr ColumnSpec kIdAndName[] = {
    {u"ID", Int32}, {u"ADI", Text},
};

constexpr ColumnSpec kCargoCompanies[] = {
    {u"SIRANO", Int32}, {u"ADI", Text}, {u"UYARI", Text}, {u"TURID", Int32},
};

constexpr ColumnSpec kOrders[] = {
    {u"IDNO", Int32}, {u"TARIH", DateTime}, {u"KARGO", Text}, {u"TESLIM", Text}, {u"VEREN", Text},
    {u"VERGI", Double}, {u"NETTUTAR", Double}, {u"TUTAR", Double}, {u"DURUM", Text},
    {u"KARGOADI", Text}, {u"VERENINNOTU", Text}, {u"ALANNOTU", Text}, {u"SATICINOTU", Text},
    {u"CARIKOD", Text}, {u"CARIADI", Text}, {u"KUR", Text}, {u"KURTL", Double}, {u"VERENIDNO", Int32},
    {u"CARINO", Int32},
};

constexpr ColumnSpec kOrderLines[] = {
    {u"SIRANO", Int32}, {u"CARINO", Int32}, {u"STOKNO", Int32}, {u"STOK_STOKNO", Int32},
    {u"IDNO", Int32}, {u"SIPARISNO", Int32}, {u"STOKHAR_NO", Int32}, {u"VERILISTARIHI", DateTime},
    {u"TARIH", DateTime}, {u"SAAT", Text}, {u"BARKOD", Text}, {u"FINISHKOD", Text}, {u"OEMNO", Text},
    {u"STOKADI", Text}, {u"MIKTAR", Double}, {u"BIRIMFIYAT", Double}, {u"ILKFIYAT", Double},
    {u"TUTAR", Double}, {u"INDIRIMORANI1", Double}, {u"INDIRIMORANI2", Double},
    {u"INDIRIMORANI3", Double}, {u"INDIRIMTUTAR", Double}, {u"NETBIRIMFIYAT", Double}, {u"KDV", Double},
    {u"VERGITUTARI", Double}, {u"NETTUTAR", Double}, {u"VEREN", Text}, {u"VERENIDNO", Int32},
    {u"VERENSIRANO", Int32}, {u"TESLIMEDILEN", Double}, {u"KALAN", Double}, {u"ELDEKI", Text},
    {u"ALINANSIPARIS", Double}, {u"VERILENSIPARIS", Double}, {u"DURUM", Int32}, {u"KUR", Text},
    {u"KURTL", Double}, {u"ACIKLAMA", Text}, {u"OEM1", Text}, {u"OEM2", Text}, {u"OEM3", Text},
    {u"OEM4", Text}, {u"DIGERADI", Text}, {u"DPKOD", Text}, {u"MARKA", Text}, {u"MODEL", Text},
    {u"ANAGRUP", Text}, {u"OZELKOD", Text}, {u"PKOD", Text}, {u"URETICIKODU", Text}, {u"AKTAR", Int32},
    {u"TESLIMID", Int32}, {u"KARGOID", Int32}, {u"CARIKOD", Text}, {u"CARIADI", Text},
    {u"TESLIM", Text}, {u"KARGO", Text},
};

constexpr ColumnSpec kStatement[] = {
    {u"TARIH", DateTime}, {u"TURADI", Text}, {u"EVRAK", Text}, {u"BORC", Double}, {u"ALACAK", Double},
    {u"KUR", Text}, {u"BAKIYE", Double}, {u"D", Text}, {u"IDNO", Int32}, {u"CARINO", Int32},
    {u"ACIKLAMA", Text},
};

constexpr ColumnSpec kStatementHeader[] = {
    {u"CARINO", Int32}, {u"CARIKOD", Text}, {u"CARIADI", Text}, {u"TARIH", DateTime},
    {u"BORC", Double}, {u"ALACAK", Double}, {u"BAKIYE", Double},
};

constexpr ColumnSpec kInvoiceLines[] = {
    {u"OEMNO", Text}, {u"STOKADI", Text}, {u"FINISHKOD", Text}, {u"MARKA", Text}, {u"MODEL", Text},
    {u"ANAGRUP", Text}, {u"BIRIM", Text}, {u"STOKHAR_MIKTAR", Double}, {u"STOKHAR_TLBIRIMFIYATI", Double},
    {u"STOKHAR_TLTUTAR", Double}, {u"STOKHAR_INDIRIM1", Double}, {u"STOKHAR_INDIRIM2", Double},
    {u"STOKHAR_INDIRIM3", Double}, {u"STOKHAR_INDIRIM4", Double}, {u"STOKHAR_INDIRIM5", Double},
    {u"STOKHAR_INDIRIM6", Double}, {u"STOKHAR_INDIRIM7", Double}, {u"STOKHAR_INDIRIM8", Double},
    {u"KDV", Double}, {u"STOKHAR_TOPLAMINDIRIM", Double}, {u"STOKHAR_TOPLAMMASRAF", Double},
    {u"STOKHAR_NETTLBIRIMFIYATI", Double}, {u"STOKHAR_NETTLTUTAR", Double}, {u"OZELKOD", Text},
    {u"BARKOD", Text}, {u"STOKHAR_HAREKETTARIHI", DateTime}, {u"STOKHAR_HAREKETTIPI2", Text},
    {u"EVRAKNO", Text}, {u"STOKHAR_TLVERGI", Double}, {u"IRSALIYEEVRAKNO", Text},
    {u"STOKHAR_IRSTARIHI", DateTime}, {u"SATIRACIKLMASI", Text}, {u"STOKHAR_SAAT", Text},
    {u"STOKHAR_VADE", Int32}, {u"SIPARISEVRAKNO", Text}, {u"SIPARISTARIHI", DateTime},
    {u"IRSALIYETIP2", Text}, {u"STOKHAR_DOVIZBIRIMFIYATI", Double}, {u"STOKHAR_DOVIZVERGI", Double},
    {u"STOKHAR_DOVIZTUTAR", Double}, {u"STOKHAR_PARTI", Text}, {u"STOKHAR_BEDEN", Text},
    {u"STOKHAR_RENK", Text}, {u"STOKHAR_MASRAF1", Double}, {u"STOKHAR_MASRAF2", Double},
    {u"STOKHAR_DOVIZTOPLAMINDIRIM", Double}, {u"STOKHAR_DOVIZTOPLAMMASRAF", Double},
    {u"STOKHAR_NETDOVIZBIRIMFIYATI", Double}, {u"STOKHAR_NETDOVIZTUTAR", Double},
    {u"STOKHAR_KURTL", Double}, {u"SATICIADI", Text}, {u"SIPARISTIPI", Int32},
    {u"IRSALIYETIPINO", Int32}, {u"STOKCARIKOD", Text}, {u"SUBE_NO", Int32}, {u"STOKHAR_CARINO", Int32},
    {u"KUR_KURSIMGE", Text}, {u"URETICIKODU", Text}, {u"DPKOD", Text}, {u"ENADI", Text}, {u"PKOD", Text},
    {u"BELGENO", Text}, {u"IDNO", Int32},
};

constexpr ColumnSpec kInvoiceTotals[] = {
    {u"TOPLAM", Double}, {u"TOPLAMINDIRIM", Double}, {u"MATRAH", Double}, {u"KDVTUTAR", Double},
    {u"KDVDAHIL", Double},
};

constexpr ColumnSpec kCollection[] = {
    {u"Tarih", DateTime}, {u"Türü", Text}, {u"Cins", Text}, {u"EvrakNo", Text}, {u"Vade", DateTime},
    {u"Tutar", Double}, {u"Kur", Text}, {u"KurTL", Double}, {u"Açıklama", Text},
    {u"Döviz Tutar", Double}, {u"Ref", Text}, {u"Saat", Text},
};

constexpr ColumnSpec kAccounts[] = {
    {u"CARIKOD", Text}, {u"CARIADI", Text}, {u"SATICISI", Text}, {u"TLBAKIYE", Double},
    {u"DURUM", Text}, {u"SEPET", Int32}, {u"ALINDI", Int32}, {u"ONAYLANDI", Int32}, {u"GORULDU", Int32},
    {u"HAZIRLANDI", Int32}, {u"PARCALIHAZIRLANDI", Int32}, {u"SEVKEDILDI", Int32}, {u"CARINO", Int32},
    {u"OZELKOD", Text}, {u"KOD1", Text}, {u"KOD2", Text}, {u"KOD3", Text}, {u"KOD4", Text},
    {u"KOD5", Text}, {u"TEL1", Text}, {u"TEL2", Text}, {u"ILCE", Text}, {u"IL", Text}, {u"GSM", Text},
    {u"YETKILI", Text}, {u"INDIRIM", Text}, {u"VADE", Text}, {u"VADEKONTROLGUN", Int32},
    {u"VADEKONTROLAY", Int32}, {u"VERGIDAIRESI", Text}, {u"VERGINO", Text}, {u"ADRES1", Text},
    {u"ADRES2", Text}, {u"ANAGRUP", Text}, {u"ALTGRUP", Text}, {u"FAX1", Text}, {u"FAX2", Text},
    {u"EMAIL", Text},
};

constexpr ColumnSpec kCounters[] = {
    {u"SEPET", Int32}, {u"YENI", Int32}, {u"KAMPANYA", Int32}, {u"DUYURU", Int32}, {u"BAKIYE", Double},
};

constexpr ColumnSpec kDocuments[] = {
    {u"SIRANO", Int32}, {u"ACIKLAMA", Text}, {u"DOSYAYOL", Text}, {u"TUR", Int32}, {u"ILERI", Int32},
};

constexpr ColumnSpec kScreens[] = {
    {u"SIRANO", Int32}, {u"BASLIK", Text}, {u"ARAMA", Text}, {u"RESIM", Bytes},
};

constexpr ColumnSpec kOrderReport[] = {
    {u"IDNO", Int32}, {u"TARIH", DateTime}, {u"CARIKOD", Text}, {u"CARIADI", Text}, {u"DURUM", Text},
    {u"SATIR", Int32}, {u"NETTUTAR", Double},
};

constexpr ColumnSpec kBestSellers[] = {
    {u"STOK_STOKNO", Int32}, {u"FINISHKOD", Text}, {u"ADI", Text}, {u"MARKA", Text},
    {u"MIKTAR", Double}, {u"NETTUTAR", Double},
};

constexpr MethodShape kMethodShapes[] = {
    {u"StokAraOrvex", ResultShape::Stock},
    {u"StokAra", ResultShape::Stock},
    {u"StokAraTelvo", ResultShape::Stock},
    {u"Dravik", ResultShape::Stock},
    {u"OrvexYenilerVer", ResultShape::Stock},
    {u"YenilerVer", ResultShape::Stock},
    {u"YenilerVerMobile", ResultShape::Stock},
    {u"OrvexKampanyaliVer", ResultShape::CampaignStock},
    {u"KampanyaliVer", ResultShape::CampaignStock},
    {u"KampanyaliVermMobil", ResultShape::CampaignStock},
    {u"OrvexdeAra", ResultShape::GenuineParts},
    {u"DepartmanlariGetir", ResultShape::Departments},
    {u"SepetVer", ResultShape::Basket},
    {u"TeslimVer", ResultShape::DeliveryKinds},
    {u"KargoVer", ResultShape::CargoKinds},
    {u"KargolarVer", ResultShape::CargoCompanies},
    {u"OncekiSiparisler2", ResultShape::Orders},
    {u"OncekiSiparisler", ResultShape::Orders},
    {u"Oncekiler", ResultShape::Orders},
    {u"SiparisAyrintisi", ResultShape::OrderLines},
    {u"TumSiparislerVer", ResultShape::OrderLines},
    {u"BakiyelerVer", ResultShape::OrderLines},
    {u"CariEkstreVer", ResultShape::Statement},
    {u"CariEkstreVer2", ResultShape::Statement},
    {u"CariEkstreVer2Baslik", ResultShape::StatementHeader},
    {u"FaturaGetir", ResultShape::InvoiceLines},
    {u"FaturaAltGetir", ResultShape::InvoiceTotals},
    {u"Tahsilat", ResultShape::Collection},
    {u"CariAra", ResultShape::Accounts},
    {u"CariSepetVer", ResultShape::Accounts},
    {u"BalonGetir", ResultShape::Counters},
    {u"DosyaListesi2", ResultShape::Documents},
    {u"DosyaListesi", ResultShape::Documents},
    {u"DuyuruVer", ResultShape::Screens},
    {u"DuyuruVer2", ResultShape::Screens},
    {u"AcilisEkranlariVerData", ResultShape::Screens},
    {u"RaporAlinanSiparisler", ResultShape::OrderReport},
    {u"RaporEnCokSatilanStoklar", ResultShape::BestSellers},
};

} // namespace

std::span<const ColumnSpec> columnsOf(ResultShape shape)
{
    switch (shape) {
    case ResultShape::Stock: return kStock;
    case ResultShape::CampaignStock: return kCampaignStock;
    case ResultShape::GenuineParts: return kGenuineParts;
    case ResultShape::Basket: return kBasket;
    case ResultShape::DeliveryKinds: return kIdAndName;
    case ResultShape::CargoKinds: return kIdAndName;
    case ResultShape::CargoCompanies: return kCargoCompanies;
    case ResultShape::Orders: return kOrders;
    case ResultShape::OrderLines: return kOrderLines;
    case ResultShape::Statement: return kStatement;
    case ResultShape::StatementHeader: return kStatementHeader;
    case ResultShape::InvoiceLines: return kInvoiceLines;
    case ResultShape::InvoiceTotals: return kInvoiceTotals;
    case ResultShape::Collection: return kCollection;
    case ResultShape::Accounts: return kAccounts;
    case ResultShape::Counters: return kCounters;
    case ResultShape::Documents: return kDocuments;
    case ResultShape::Departments: return kIdAndName;
    case ResultShape::Screens: return kScreens;
    case ResultShape::OrderReport: return kOrderReport;
    case ResultShape::BestSellers: return kBestSellers;
    }
    throw std::logic_error("unknown result shape");
}

std::span<const MethodShape> methodShapes()
{
    return kMethodShapes;
}

RecordSet emptyResult(ResultShape shape)
{
    RecordSet set;
    for (const ColumnSpec &c : columnsOf(shape))
        set.addField(c.name.toString(), c.type);
    return set;
}

int columnIndex(ResultShape shape, QStringView name)
{
    const auto columns = columnsOf(shape);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].name == name)
            return int(i);
    }
    throw std::logic_error("result shape lacks column " + name.toString().toStdString());
}

} // namespace morvex::server
