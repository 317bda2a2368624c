#include "core/jsonfiles.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/safefile.h"
#include "core/utils.h"

// Quiets a deprecation note inside the JSON parser's own headers.
#define BOOST_BIND_GLOBAL_PLACEHOLDERS
#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>

#include <cstdio>
#include <map>
#include <mutex>
#include <set>
#include <utility>
#include <sstream>
#include <sys/stat.h>

namespace pt = boost::property_tree;

namespace {
const char* const ALIAS_FILE = "/data/configs/alias.json";

enum class Read { Ok, Missing, Broken };

// The parser descends recursively, one stack frame per "[" or "{": a file
// of a hundred thousand of them (the PC sends these files) would overflow
// the stack at every start. The real files nest five levels deep.
constexpr int MAX_JSON_DEPTH = 32;

// True when the brackets outside strings nest deeper than MAX_JSON_DEPTH.
bool nested_too_deep(const std::string& text) {
    int depth = 0;
    bool in_string = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (in_string) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                in_string = false;
        } else if (c == '"') {
            in_string = true;
        } else if (c == '[' || c == '{') {
            if (++depth > MAX_JSON_DEPTH)
                return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

// Parses a (device) JSON file. A file that does not parse is removed, so
// that the PC can send a fresh one; a missing file is left alone, and so is
// one that cannot be read (a FIFO, a folder, an endless file: see safefile).
Read read_json_file(const std::string& device_file, pt::ptree* tree) {
    const std::string path = device_path_std(device_file);
    QByteArray bytes;
    switch (safefile::read(QString::fromStdString(path), &bytes)) {
    case safefile::Read::Missing: return Read::Missing;
    case safefile::Read::Bad: return Read::Broken;
    case safefile::Read::Ok: break;
    }
    const std::string text = bytes.toStdString();
    auto broken = [&](const std::string& why) {
        // Flushed at once: the program may be ended before the buffer is.
        std::printf("json error: %s: %s\n", device_file.c_str(), why.c_str());
        std::fflush(stdout);
        Utils::remove_file(path);
        return Read::Broken;
    };
    if (nested_too_deep(text))
        return broken("nested deeper than " + std::to_string(MAX_JSON_DEPTH) + " levels");
    std::istringstream parse(text);
    try {
        pt::read_json(parse, *tree);
    } catch (const pt::json_parser_error& e) {
        return broken("line " + std::to_string(e.line()) + ": " + e.message());
    }
    return Read::Ok;
}

// The value at `key`, or `current` when it is absent or not of the type.
template <class T> void take(const pt::ptree& node, const char* key, T* current) {
    if (auto v = node.get_optional<T>(pt::ptree::path_type(key, '/')))
        *current = *v;
}

// "texts" may be one string or a list of lines.
bool take_texts(const pt::ptree& node, std::string* out) {
    auto child = node.get_child_optional("texts");
    if (!child)
        return false;
    if (child->empty()) {
        *out = child->data();
        return true;
    }
    std::string joined;
    for (const auto& line : *child) {
        if (!joined.empty())
            joined += '\n';
        joined += line.second.data();
    }
    *out = joined;
    return true;
}

// The alias file is asked for once per name shown (six tiles on every
// refresh of the home screen), but changes only when the PC sends a new
// one: it is parsed again only when the file on disk is another one (a
// new inode after the atomic replace, or another size or time).
struct FileIdentity {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    bool operator==(const FileIdentity& o) const {
        return exists == o.exists && dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

// `path` is the file's place on this machine (device_path_std).
FileIdentity identity_of(const std::string& path) {
    FileIdentity id;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return id;
    id.exists = true;
    id.dev = st.st_dev;
    id.ino = st.st_ino;
    id.size = st.st_size;
    id.mtime = st.st_mtim;
    return id;
}

struct AliasCache {
    std::mutex mutex;
    bool loaded = false;
    std::string path;  // FRONTPANEL_ROOT may move (tests)
    FileIdentity identity;
    bool ok = false;
    pt::ptree tree;
    // The first entry of each kind and id, as a walk of the tree finds it:
    // a lookup is asked for every name on a page at every redraw.
    std::map<std::pair<std::string, int>, ALIAS_PARA> entries;
};

void index_entries(AliasCache& cache) {
    cache.entries.clear();
    std::set<std::string> kinds;
    for (const auto& kind : cache.tree) {
        // A second object of the same name is never reached by a path.
        if (!kinds.insert(kind.first).second)
            continue;
        const auto list = kind.second.get_child_optional("namelist");
        if (!list)
            continue;
        for (const auto& item : *list) {
            const pt::ptree& entry = item.second;
            const auto entry_id = entry.get_optional<int>("id");
            if (!entry_id)
                continue;
            ALIAS_PARA found;
            found.id = *entry_id;
            found.valid = entry.get<std::string>("valid", "");
            found.name = entry.get<std::string>("name", "");
            cache.entries.emplace(std::make_pair(kind.first, *entry_id), found);
        }
    }
}

AliasCache& alias_cache() {
    static AliasCache cache;
    return cache;
}
}  // namespace

void alias_file_changed() {
    AliasCache& cache = alias_cache();
    std::lock_guard<std::mutex> lock(cache.mutex);
    cache.loaded = false;
}

int get_json_alias_para(ALIAS_PARA* out, const std::string& kind, int id) {
    AliasCache& cache = alias_cache();
    std::lock_guard<std::mutex> lock(cache.mutex);
    const std::string path = device_path_std(ALIAS_FILE);
    const FileIdentity now = identity_of(path);
    if (!cache.loaded || cache.path != path || !(cache.identity == now)) {
        cache.tree.clear();
        cache.ok = read_json_file(ALIAS_FILE, &cache.tree) == Read::Ok;
        // A broken file is removed by the reader: remember that state.
        cache.identity = cache.ok ? now : identity_of(path);
        cache.path = path;
        cache.loaded = true;
        index_entries(cache);
    }
    if (!cache.ok)
        return 0;
    const auto it = cache.entries.find(std::make_pair(kind, id));
    if (it == cache.entries.end())
        return 0;
    const ALIAS_PARA& found = it->second;
    if (out)
        *out = found;
    return (found.valid != "off" && !found.name.empty()) ? 1 : 0;
}

int get_json_omenu_para(const char* file, OSD_LIST* list) {
    if (!file || !list)
        return 0;
    pt::ptree tree;
    if (read_json_file(file, &tree) != Read::Ok)
        return 0;
    take(tree, "name", &list->name);
    take(tree, "osdcount", &list->osdcount);
    take(tree, "oactcount", &list->oactcount);
    auto menus = tree.get_child_optional("menu");
    if (!menus || menus->empty())
        return 1;
    const pt::ptree& m = menus->front().second;
    OMENU_PARA& o = list->menu;
    take(m, "x", &o.x);
    take(m, "y", &o.y);
    take(m, "w", &o.w);
    take(m, "h", &o.h);
    take(m, "effect", &o.effect);
    take(m, "speed", &o.speed);
    take(m, "backpara/color", &o.back_color);
    take(m, "fontpara/startx", &o.startx);
    take(m, "fontpara/starty", &o.starty);
    take(m, "fontpara/fontw", &o.fontw);
    take(m, "fontpara/fonth", &o.fonth);
    take(m, "fontpara/wordspace", &o.wordspace);
    take(m, "fontpara/verticalspace", &o.verticalspace);
    take(m, "fontpara/color", &o.font_color);
    auto font = m.get_child_optional("fontpara");
    if (!(font && take_texts(*font, &o.texts)))
        take_texts(m, &o.texts);
    return 1;
}
