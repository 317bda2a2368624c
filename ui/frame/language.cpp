#include "ui/frame/language.h"

#include "core/global.h"

#include <QtGlobal>
#include <QDir>

int lang_pick() {
    if (g_language < LANG_COUNT && (g_lcd_lang_valid & (1u << g_language)))
        return g_language;
    return LANG_ENGLISH;
}

QString tr5(const Text5& t) { return QString::fromUtf8(t[size_t(lang_pick())]); }

// The images live in the application library, which is static: make sure
// its resources are registered before the first image is asked for.
static void ensure_png_resources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(png);
        return true;
    }();
    (void)done;
}

QString png_lang(const QString& name) {
    ensure_png_resources();
    static const char* const prefix[LANG_COUNT] = {"", "en_", "ru_", "vn_", "tn_"};
    return QStringLiteral(":/png/") + prefix[lang_pick()] + name;
}

QString png(const QString& name) {
    ensure_png_resources();
    return QStringLiteral(":/png/") + name;
}
