#pragma once
// Turns an input source id into what the user sees: its name, its place in
// the source lists, the rich-text colour of its name and its connector icon.
#include <QString>
#include <cstdint>

class QLabel;

// Source ids are the block's numbering (0 EXT, 1 DVI, 2..5 HDMI1..HDMI4);
// list positions are the display order (HDMI1..HDMI4, DVI, EXT). Every
// operation takes out-of-range values and answers with a safe fallback.
class sourceinfo {
public:
    // Empty for an id above 5.
    static QString get_source_name_by_sourceid(int source_id);
    // Empty for a position above 5.
    static QString get_source_name_by_listseq(int listseq);
    // Positions 5 and above give 0 (EXT).
    static uint8_t get_source_id_by_listseq(int listseq);
    // An id above 5 gives position 0.
    static uint8_t get_listseq_by_source_id(int source_id);
    // A rich-text template with one "%1" for the caller to fill.
    static QString get_source_specialstyle0_by_sourceid(int source_id);
    // `text` in the source's colour followed by a blue "(count)"; empty for
    // an id above 5.
    static QString get_source_specialstyle1_by_sourceid(int source_id, const QString& text, uint8_t count);
    // Both leave the label unchanged for an id above 5.
    static void set_source_pixmap(QLabel* label, int source_id);
    // The resource name of the icon set_source_pixmap shows.
    static QString source_pixmap(int source_id);
    static void set_sourceonline_pixmap(QLabel* label, int source_id, uint8_t online);
    // The name the user gave entry `id` of `kind` ("source", "crop") in the
    // alias file; `found` says whether there is one.
    static QString alias_name(const char* kind, int id, bool* found);
};
