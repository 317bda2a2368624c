#include "ui/frame/language.h"

#include "core/global.h"

int lang_pick() {
    if (g_language < LANG_COUNT && (g_lcd_lang_valid & (1u << g_language)))
        return g_language;
    return LANG_ENGLISH;
}

QString tr5(const Text5& t) { return QString::fromUtf8(t[size_t(lang_pick())]); }

QString png_lang(const QString& name) {
    static const char* const prefix[LANG_COUNT] = {"", "en_", "ru_", "vn_", "tn_"};
    return QStringLiteral(":/png/") + prefix[lang_pick()] + name;
}

QString png(const QString& name) { return QStringLiteral(":/png/") + name; }
