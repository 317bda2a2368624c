#include "ui/frame/sourceinfo.h"

#include "core/jsonfiles.h"
#include "ui/frame/imagecache.h"

#include <QLabel>
#include <QPixmap>
#include <array>

namespace {
// One row per source id.
struct SourceRow {
    const char* name;
    uint8_t listseq;
    const char* style0;   // name colour template of style 0
    const char* style1;   // name colour template of style 1
    const char* plain;    // icon without signal state
    const char* online;   // icon with signal
    const char* offline;  // icon without signal
};

const char* const kWhite = "<font style = 'font-size:9px' color = #ffffff >%1</font>";
const char* const kGreen0 = "<font style = 'font-size:9px' color = #51BB28 >%1</font>";
const char* const kGreen1 = "<font style = 'font-size:9px' color = #12BB32 >%1</font>";
const char* const kBlue = "<font style = 'font-size:9px' color = #4777ff >%1</font>";

// The external input has no badge of its own without signal, and the
// HDMI 2.0 inputs show the same badge plain and without signal.
const std::array<SourceRow, 6> kSources = {{
    {"EXT", 5, kWhite, kWhite, ":/png/HDMI.png", ":/png/extlv.png", ":/png/HDMI.png"},
    {"DVI", 4, kWhite, kWhite, ":/png/DVI.png", ":/png/dvilv.png", ":/png/DVI.png"},
    {"HDMI1", 0, kWhite, kWhite, ":/png/HDMI13.png", ":/png/HDMI13_lv.png", ":/png/HDMI13_1.png"},
    {"HDMI2", 1, kWhite, kWhite, ":/png/HDMI13.png", ":/png/HDMI13_lv.png", ":/png/HDMI13_1.png"},
    {"HDMI3", 2, kGreen0, kGreen1, ":/png/HDMI20.png", ":/png/HDMI20_lv.png", ":/png/HDMI20.png"},
    {"HDMI4", 3, kGreen0, kGreen1, ":/png/HDMI20.png", ":/png/HDMI20_lv.png", ":/png/HDMI20.png"},
}};

// Source id at each list position.
constexpr std::array<uint8_t, 6> kIdByListseq = {2, 3, 4, 5, 1, 0};

const SourceRow* row(int source_id) {
    if (source_id < 0 || source_id >= int(kSources.size()))
        return nullptr;
    return &kSources[size_t(source_id)];
}

// Field width 0 and a blank fill: "%1" becomes exactly the text.
QString fill(const char* tmpl, const QString& text) {
    return QString::fromLatin1(tmpl).arg(text, 0, QLatin1Char(' '));
}
}  // namespace

QString sourceinfo::get_source_name_by_sourceid(int source_id) {
    const SourceRow* r = row(source_id);
    return r ? QString::fromLatin1(r->name) : QString();
}

QString sourceinfo::get_source_name_by_listseq(int listseq) {
    if (listseq < 0 || listseq >= int(kIdByListseq.size()))
        return QString();
    return get_source_name_by_sourceid(kIdByListseq[size_t(listseq)]);
}

uint8_t sourceinfo::get_source_id_by_listseq(int listseq) {
    if (listseq < 0 || listseq >= int(kIdByListseq.size()))
        return 0;
    return kIdByListseq[size_t(listseq)];
}

uint8_t sourceinfo::get_listseq_by_source_id(int source_id) {
    const SourceRow* r = row(source_id);
    return r ? r->listseq : 0;
}

QString sourceinfo::get_source_specialstyle0_by_sourceid(int source_id) {
    const SourceRow* r = row(source_id);
    return QString::fromLatin1(r ? r->style0 : kWhite);
}

QString sourceinfo::get_source_specialstyle1_by_sourceid(int source_id, const QString& text, uint8_t count) {
    const SourceRow* r = row(source_id);
    if (!r)
        return QString();
    return fill(r->style1, text) + fill(kBlue, QStringLiteral("(")) + fill(kBlue, QString::number(count)) +
           fill(kBlue, QStringLiteral(")"));
}

void sourceinfo::set_source_pixmap(QLabel* label, int source_id) {
    const SourceRow* r = row(source_id);
    if (!label || !r)
        return;
    set_label_pixmap(label, QString::fromLatin1(r->plain));
}

QString sourceinfo::source_pixmap(int source_id) {
    const SourceRow* r = row(source_id);
    return r ? QString::fromLatin1(r->plain) : QString();
}

void sourceinfo::set_sourceonline_pixmap(QLabel* label, int source_id, uint8_t online) {
    const SourceRow* r = row(source_id);
    if (!label || !r)
        return;
    set_label_pixmap(label, QString::fromLatin1(online ? r->online : r->offline));
}

QString sourceinfo::alias_name(const char* kind, int id, bool* found) {
    ALIAS_PARA alias;
    *found = get_json_alias_para(&alias, kind, id) != 0;
    return *found ? QString::fromStdString(alias.name) : QString();
}
