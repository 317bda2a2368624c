#pragma once
// Readers of the alias and OSD-menu JSON files.
#include <string>

struct ALIAS_PARA {
    int id = 0;
    std::string valid;  // "off" = not valid
    std::string name;   // UTF-8 display name
};

struct OMENU_PARA {
    int x = 0, y = 0, w = 0, h = 0;
    int effect = 0, speed = 0;
    std::string back_color;
    int startx = 0, starty = 0, fontw = 0, fonth = 0, wordspace = 0, verticalspace = 0;
    std::string font_color;
    std::string texts;
};

struct OSD_LIST {
    std::string name;
    int osdcount = 0;
    int oactcount = 0;
    OMENU_PARA menu;  // the first "menu" entry
};

// 1 when "/data/configs/alias.json" has a valid, named entry `id` of `kind`.
// The file is parsed once and again only when it changes on disk.
int get_json_alias_para(ALIAS_PARA* out, const std::string& kind, int id);
// A file has come from the PC: the alias file is read again at the next
// lookup, whatever its time stamp says.
void alias_file_changed();
// Parses an OSD menu file into `list`; 1 on success, 0 otherwise.
int get_json_omenu_para(const char* file, OSD_LIST* list);
