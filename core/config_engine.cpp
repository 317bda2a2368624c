#include "core/config_engine.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/utils.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSettings>
#include <QStringList>

// "/data/configs/tcpip.ini", group "config". The keys read here:
//   ip=192.168.1.199  barcode=" "  lcd_lang_valid=31  debug_switch=254
// Every other key belongs to another part of the program and is kept as it is.
namespace {
const char* const CONFIG_FILE = "/data/configs/tcpip.ini";

struct KeyDefault {
    const char* key;
    const char* value;
};
const KeyDefault DEFAULTS[] = {
    {"ip", "192.168.1.199"},
    {"barcode", " "},
    {"lcd_lang_valid", "31"},
    {"debug_switch", "254"},
};

QMutex& settings_mutex() {
    static QMutex m;
    return m;
}

QString config_file() {
    return device_path(QString::fromLatin1(CONFIG_FILE));
}

QByteArray file_bytes() {
    QFile file(config_file());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Qt's settings class reports a malformed line only when it writes the file,
// and the lines it could not read are then gone from it. `before` is the file
// as it was: kept beside it, so that nothing the file held is lost.
void keep_malformed_file(const QSettings& ini, const QByteArray& before) {
    if (ini.status() != QSettings::FormatError)
        return;
    const QString kept = config_file() + QStringLiteral(".bad");
    if (Utils::write_file_atomic(kept.toStdString(), before.constData(), size_t(before.size())) == 1)
        debug_printf("%s: a malformed line: the file was rewritten without what could not be "
                     "read; the file as it was is kept in %s.bad\n",
                     CONFIG_FILE, CONFIG_FILE);
    else
        debug_printf("%s: a malformed line, and the file as it was cannot be kept\n", CONFIG_FILE);
}

bool valid_ipv4(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString& part : parts) {
        bool ok = false;
        const int v = part.toInt(&ok, 10);
        if (!ok || part.isEmpty() || part.size() > 3 || v < 0 || v > 255)
            return false;
    }
    return true;
}

// A number in decimal or 0x-hex no greater than `max`; -1 when bad.
long parse_number(const QString& text, long max) {
    const QString t = text.trimmed();
    const bool hex = t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    bool ok = false;
    const long v = hex ? t.mid(2).toLong(&ok, 16) : t.toLong(&ok, 10);
    return (ok && v >= 0 && v <= max) ? v : -1;
}
} // namespace

ConfigEngine* ConfigEngine::p_config_engine = nullptr;

ConfigEngine* ConfigEngine::pInstance() {
    static ConfigEngine* const instance = [] {
        auto* p = new ConfigEngine();
        p_config_engine = p;
        return p;
    }();
    return instance;
}

ConfigEngine::ConfigEngine() {
    // The ageing record starts empty with every program start.
    factoryage_log.clear();
    load();
}

void ConfigEngine::load() {
    QMutexLocker lock(&settings_mutex());
    QDir().mkpath(QFileInfo(config_file()).absolutePath());
    const QByteArray before = file_bytes();
    QSettings ini(config_file(), QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("config"));
    bool wrote = false;
    for (const KeyDefault& d : DEFAULTS) {
        if (!ini.contains(QLatin1String(d.key))) {
            ini.setValue(QLatin1String(d.key), QString::fromLatin1(d.value));
            wrote = true;
        }
    }

    const QString ip = ini.value(QStringLiteral("ip")).toString().trimmed();
    if (valid_ipv4(ip)) {
        g_str_ip = ip;
    } else {
        debug_printf("tcpip.ini: ip \"%s\" is not an address: using 192.168.1.199\n",
                     qPrintable(ip));
        g_str_ip = QStringLiteral("192.168.1.199");
    }

    g_str_barcode = ini.value(QStringLiteral("barcode")).toString();

    const QString langs = ini.value(QStringLiteral("lcd_lang_valid")).toString();
    const long lang_mask = parse_number(langs, LCD_LANG_VALID_ALL);
    if (lang_mask < 0)
        debug_printf(
            "tcpip.ini: lcd_lang_valid \"%s\" is not a mask of the five languages: using 31\n",
            qPrintable(langs));
    g_lcd_lang_valid = lang_mask < 0 ? LCD_LANG_VALID_ALL : uint32_t(lang_mask);

    const QString debug = ini.value(QStringLiteral("debug_switch")).toString();
    const long debug_value = parse_number(debug, 255);
    if (debug_value < 0)
        debug_printf("tcpip.ini: debug_switch \"%s\" is not a byte: using 254\n",
                     qPrintable(debug));
    g_debugSwitch = debug_value < 0 ? 254 : uint8_t(debug_value);

    ini.endGroup();
    if (!wrote)
        return;
    ini.sync();
    // The sync still wrote the file on a format error: check the file for
    // the defaults rather than trust the status.
    keep_malformed_file(ini, before);
    // Read back as text: a second QSettings would share this one's cache.
    QFile file(config_file());
    const QByteArray text =
        file.open(QIODevice::ReadOnly) ? QByteArray("\n") + file.readAll() : QByteArray();
    for (const KeyDefault& d : DEFAULTS) {
        if (!text.contains(QByteArray("\n") + d.key + '=')) {
            debug_printf("%s: cannot write the defaults\n", CONFIG_FILE);
            return;
        }
    }
}

QString ConfigEngine::value(const QString& key, const QString& fallback) const {
    QMutexLocker lock(&settings_mutex());
    QSettings ini(config_file(), QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("config"));
    return ini.value(key, fallback).toString();
}

void ConfigEngine::setValue(const QString& key, const QString& value) {
    QMutexLocker lock(&settings_mutex());
    QDir().mkpath(QFileInfo(config_file()).absolutePath());
    const QByteArray before = file_bytes();
    QSettings ini(config_file(), QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("config"));
    ini.setValue(key, value);
    ini.endGroup();
    ini.sync();
    keep_malformed_file(ini, before);
    if (ini.status() == QSettings::AccessError)
        debug_printf("%s: cannot write %s\n", CONFIG_FILE, qPrintable(key));
}
