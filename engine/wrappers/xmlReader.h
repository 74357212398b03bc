#pragma once
// CxmlReader: a thin reader over pugixml for the XML replies of outside
// services (the radio directory).
#include <string>
#include <vector>

#include <pugixml.hpp>

class CxmlElement {
public:
    explicit CxmlElement(pugi::xml_node n) : node_(n) {}
    const char* name() const { return node_.name(); }
    // An attribute's text, "" when absent.
    const char* attr(const char* name) const { return node_.attribute(name).as_string(""); }
    bool hasAttr(const char* name) const { return !node_.attribute(name).empty(); }
    int attrInt(const char* name, int fallback = 0) const { return node_.attribute(name).as_int(fallback); }
    std::string text() const { return node_.text().as_string(""); }

private:
    pugi::xml_node node_;
};

class CxmlReader {
public:
    // False, with error(), when the text is not well-formed XML.
    bool parse(const std::string& text);
    // Every element of that name anywhere in the document, in document order.
    std::vector<CxmlElement> findAll(const char* name) const;
    const std::string& error() const { return error_; }

private:
    pugi::xml_document doc_;
    std::string error_;
};
