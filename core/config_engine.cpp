#include "core/config_engine.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/safefile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSettings>
#include <QStringList>

#include <functional>
#include <unistd.h>

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

// Qt's settings class would wait for ever on a FIFO, read an endless file
// and write through a link out of the data folder: it only ever sees a
// private copy of the file, made beside it from a bounded read. What it
// changed goes back through the atomic writer. The copy goes when this does
// (or, after a kill, at the next start).
class SettingsCopy {
public:
    explicit SettingsCopy(const QByteArray& bytes) {
        const int fd = safefile::make_temp(config_file(), &path_);
        if (fd < 0)
            return;
        ok_ = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
        ::close(fd);
    }
    ~SettingsCopy() {
        if (!path_.isEmpty())
            QFile::remove(path_);
    }
    bool ok() const { return ok_; }
    const QString& path() const { return path_; }
    // Writes the copy over the file itself; false when it cannot.
    bool save() const {
        QByteArray bytes;
        return safefile::read(path_, &bytes) == safefile::Read::Ok &&
               safefile::write_atomic(config_file(), bytes.constData(), size_t(bytes.size())) == 1;
    }

private:
    QString path_;
    bool ok_ = false;
};

// Qt's settings class reports a malformed line only when it writes the file,
// and the lines it could not read are then gone from it. `before` is the file
// as it was: kept beside it, so that nothing the file held is lost.
void keep_malformed_file(const QSettings& ini, const QByteArray& before) {
    if (ini.status() != QSettings::FormatError)
        return;
    const QString kept = config_file() + QStringLiteral(".bad");
    if (safefile::write_atomic(kept, before.constData(), size_t(before.size())) == 1)
        debug_printf("%s: a malformed line: the file was rewritten without what could not be "
                     "read; the file as it was is kept in %s.bad\n",
                     CONFIG_FILE, CONFIG_FILE);
    else
        debug_printf("%s: a malformed line, and the file as it was cannot be kept\n", CONFIG_FILE);
}

enum class Settings { Unread, Read, Saved, NotSaved };

// Reads the file and runs `use` on it, group "config" open; when `use`
// returns true its changes are saved. Unread (and `use` not run) when the
// file could not be read or copied: the caller runs on its defaults, and the
// file stays until a save moves it aside. With `over_unreadable` such a file
// is taken as empty, and the save moves it aside.
Settings with_settings(const std::function<bool(QSettings&)>& use, bool over_unreadable = false) {
    safefile::make_folder(QFileInfo(config_file()).absolutePath());
    QByteArray before;
    if (safefile::read(config_file(), &before) == safefile::Read::Bad && !over_unreadable)
        return Settings::Unread;
    SettingsCopy copy(before);
    if (!copy.ok())
        return Settings::Unread;
    {
        QSettings ini(copy.path(), QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("config"));
        const bool changed = use(ini);
        ini.endGroup();
        if (!changed)
            return Settings::Read;
        ini.sync();
        keep_malformed_file(ini, before);
    }
    return copy.save() ? Settings::Saved : Settings::NotSaved;
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
// The globals from the keys; `get` gives a key's text.
void apply_settings(const std::function<QString(const char*)>& get) {
    const QString ip = get("ip").trimmed();
    if (valid_ipv4(ip)) {
        g_str_ip = ip;
    } else {
        debug_printf("tcpip.ini: ip \"%s\" is not an address: using 192.168.1.199\n", qPrintable(ip));
        g_str_ip = QStringLiteral("192.168.1.199");
    }

    g_str_barcode = get("barcode");

    const QString langs = get("lcd_lang_valid");
    const long lang_mask = parse_number(langs, LCD_LANG_VALID_ALL);
    if (lang_mask < 0)
        debug_printf("tcpip.ini: lcd_lang_valid \"%s\" is not a mask of the five languages: using 31\n",
                     qPrintable(langs));
    g_lcd_lang_valid = lang_mask < 0 ? LCD_LANG_VALID_ALL : uint32_t(lang_mask);

    const QString debug = get("debug_switch");
    const long debug_value = parse_number(debug, 255);
    if (debug_value < 0)
        debug_printf("tcpip.ini: debug_switch \"%s\" is not a byte: using 254\n", qPrintable(debug));
    g_debugSwitch = debug_value < 0 ? 254 : uint8_t(debug_value);
}
}  // namespace

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
    // Copies and temporary files that a kill left behind.
    safefile::remove_stale_temps(QFileInfo(config_file()).absolutePath(), QStringLiteral("tcpip.ini*.tmp-*"));
    bool wrote = false;
    const Settings done = with_settings([&wrote](QSettings& ini) {
        for (const KeyDefault& d : DEFAULTS) {
            if (!ini.contains(QLatin1String(d.key))) {
                ini.setValue(QLatin1String(d.key), QString::fromLatin1(d.value));
                wrote = true;
            }
        }
        apply_settings([&ini](const char* key) { return ini.value(QLatin1String(key)).toString(); });
        return wrote;
    });
    if (done == Settings::Unread) {
        debug_printf("%s: running on the defaults\n", CONFIG_FILE);
        apply_settings([](const char* key) {
            for (const KeyDefault& d : DEFAULTS)
                if (qstrcmp(d.key, key) == 0)
                    return QString::fromLatin1(d.value);
            return QString();
        });
    } else if (done == Settings::NotSaved) {
        debug_printf("%s: cannot write the defaults\n", CONFIG_FILE);
    }
}

QString ConfigEngine::value(const QString& key, const QString& fallback) const {
    QMutexLocker lock(&settings_mutex());
    QString result = fallback;
    with_settings([&](QSettings& ini) {
        result = ini.value(key, fallback).toString();
        return false;
    });
    return result;
}

void ConfigEngine::setValue(const QString& key, const QString& value) {
    QMutexLocker lock(&settings_mutex());
    const Settings done = with_settings(
        [&](QSettings& ini) {
            ini.setValue(key, value);
            return true;
        },
        true);
    if (done != Settings::Saved)
        debug_printf("%s: cannot write %s\n", CONFIG_FILE, qPrintable(key));
}
