#pragma once

// Demo rows and a column table with every column kind, shared by the grid tests and the gallery.

#include "core/data/NumberFormat.h"
#include "core/data/RecordSet.h"
#include "gui/grid/GridColumn.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <vector>

namespace griddemo {

using namespace Qt::StringLiterals;
using namespace morvex;

inline std::vector<GridColumn> columns()
{
    return {
        { u"Sıra"_s, u"SIRANO"_s, 1, col::Hidden, col::NotOffered },
        { u"Barkod"_s, u"BARKOD"_s, 2, col::Shown, col::Offered },
        { u"Açıklama"_s, u"ADI"_s, 3, col::Shown, col::Offered },
        { u"Marka"_s, u"MARKA"_s, 2, col::Hidden, col::Offered },
        { u"Fiyat"_s, u"FIYAT"_s, 2, col::Shown, col::Offered, ColumnKind::Number },
        { u"Miktar"_s, u"MIKTAR"_s, 1, col::Shown, col::Offered, ColumnKind::Number },
        { u"Durum"_s, u"DURUM"_s, 1, col::Shown, col::Offered, ColumnKind::StockStatus },
        { u"Yeni"_s, u"Y"_s, 1, col::Shown, col::Offered, ColumnKind::YesNo },
        { u"Kampanyalı"_s, u"K"_s, 1, col::Shown, col::Offered, ColumnKind::Campaign },
        { u"Seç"_s, u"SEC"_s, 1, col::Shown, col::NotOffered, ColumnKind::Check },
        { u"Tür"_s, u"TUR"_s, 1, col::Shown, col::Offered, ColumnKind::FileType },
        { u"İndir"_s, QString(), 1, col::Shown, col::NotOffered, ColumnKind::Button },
        { QString(), u"ILERI"_s, 2, col::Shown, col::Offered, ColumnKind::Progress },
        { u"Resim"_s, u"RESIM"_s, 1, col::Shown, col::Offered, ColumnKind::Picture },
        { u"Not"_s, u"NOTLAR"_s, 3, col::Shown, col::Offered, ColumnKind::MultiLine },
        { u"Tarih"_s, u"TARIH"_s, 2, col::Hidden, col::Offered },
    };
}

// A small picture drawn here, encoded as PNG like a picture field would hold it.
inline QByteArray picture(const QColor &colour)
{
    QImage image(48, 32, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(6, 4, 36, 24));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

struct Row
{
    int sirano;
    QString barkod;
    QString adi;
    QString marka;
    double fiyat;
    double miktar;
    int durum;
    int y;
    int k;
    int sec;
    int tur;
    int ileri;
    QString notlar;
};

inline std::vector<Row> rows()
{
    return {
        { 1, u"8690001"_s, u"Şanzıman Yağı 75W-90"_s, u"Öztürk"_s, 1234.5, 3, 1, 1, 0, 1, 4, 100,
            u"İlk satır\nİkinci satır"_s },
        { 2, u"8690002"_s, u"Ön Fren Balatası"_s, u"Güneş"_s, 456.75, 12, 0, 0, 1, 0, 6, 45, u"Çok acil"_s },
        { 3, u"8690003"_s, u"Çamurluk Sağ"_s, u"İnci"_s, 89.9, 1, 2, 1, 1, 1, 2, 0, QString() },
        { 4, u"8690004"_s, u"Işık Anahtarı"_s, u"Öztürk"_s, 1000000, 0.5, 3, 0, 0, 0, 3, 70,
            u"Yolda, yarın"_s },
        { 5, u"8690005"_s, u"Ğ Contası"_s, u"Güneş"_s, 0.1, 250, 4, 1, 0, 1, 5, 10, u"Özel sipariş"_s },
        { 6, u"8690006"_s, u"Üst Bağlantı Kolu"_s, QString(), 9.5, 7, 5, 0, 1, 0, 1, 99, u"Tedarik"_s },
        { 7, u"8690007"_s, u"İç Dikiz Aynası"_s, u"İnci"_s, 10, 2, 1, 1, 0, 1, 0, 55, u"—"_s },
    };
}

inline void addFields(RecordSet &set)
{
    set.addField(u"SIRANO"_s, FieldType::Int32);
    set.addField(u"BARKOD"_s, FieldType::Text);
    set.addField(u"ADI"_s, FieldType::Text);
    set.addField(u"MARKA"_s, FieldType::Text);
    set.addField(u"FIYAT"_s, FieldType::Double);
    set.addField(u"MIKTAR"_s, FieldType::Double);
    set.addField(u"DURUM"_s, FieldType::Int32);
    set.addField(u"Y"_s, FieldType::Int32);
    set.addField(u"K"_s, FieldType::Int32);
    set.addField(u"SEC"_s, FieldType::Int32);
    set.addField(u"TUR"_s, FieldType::Int32);
    set.addField(u"ILERI"_s, FieldType::Int32);
    set.addField(u"RESIM"_s, FieldType::Bytes);
    set.addField(u"NOTLAR"_s, FieldType::Text);
    set.addField(u"TARIH"_s, FieldType::DateTime);
}

// Fills `set` with the demo rows (fields added first when the set has none).
inline void fill(RecordSet &set)
{
    if (set.fieldCount() == 0)
        addFields(set);
    set.clearRows();
    const QColor colours[] = { QColor(200, 60, 60), QColor(60, 140, 200), QColor(90, 170, 80) };
    int index = 0;
    for (const Row &r : rows()) {
        const int row = set.appendRow();
        set.setInt32(row, 0, r.sirano);
        set.setText(row, 1, r.barkod);
        set.setText(row, 2, r.adi);
        if (!r.marka.isEmpty())
            set.setText(row, 3, r.marka);
        set.setReal(row, 4, r.fiyat);
        set.setReal(row, 5, r.miktar);
        set.setInt32(row, 6, r.durum);
        set.setInt32(row, 7, r.y);
        set.setInt32(row, 8, r.k);
        set.setInt32(row, 9, r.sec);
        set.setInt32(row, 10, r.tur);
        set.setInt32(row, 11, r.ileri);
        if (index % 2 == 0)
            set.setBytes(row, 12, picture(colours[index % 3]));
        if (!r.notlar.isEmpty())
            set.setText(row, 13, r.notlar);
        set.setDateTime(
            row, 14, QDateTime(QDate(2024, 3, 1 + index), QTime(index % 2 ? 14 : 0, 30 * (index % 2))));
        ++index;
    }
    applyFloatDisplayPattern(set);
}

} // namespace griddemo
