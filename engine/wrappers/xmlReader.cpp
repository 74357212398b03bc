#include "engine/wrappers/xmlReader.h"

#include <cctype>

bool CxmlReader::parse(const std::string& text) {
    pugi::xml_parse_result r = doc_.load_buffer(text.data(), text.size(), pugi::parse_default);
    if (!r) {
        error_ = r.description();
        doc_.reset();
        return false;
    }
    error_.clear();
    return true;
}

std::vector<CxmlElement> CxmlReader::findAll(const char* name) const {
    std::vector<CxmlElement> out;
    // Element names only: letters, digits, '_', '-', '.'.
    for (const char* p = name; *p; ++p)
        if (!isalnum((unsigned char)*p) && *p != '_' && *p != '-' && *p != '.') return out;
    pugi::xpath_node_set set = doc_.select_nodes((std::string("//") + name).c_str());
    for (const pugi::xpath_node& n : set)
        if (n.node()) out.emplace_back(n.node());
    return out;
}
