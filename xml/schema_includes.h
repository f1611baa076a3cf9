#pragma once
// The files a schema includes, imports or redefines. libxml2 loads them itself while it compiles
// a schema, with entity substitution on and network access allowed. While a SafeSchemaIncludes
// lives, libxml2 gets them from it instead: local files only, read by the safe reader (no DTD, no
// entity declarations, size limit) and with their pattern anchors stripped like the including
// schema's. Anything else does not load, and the schema that asks for it does not compile.

#include <libxml/parser.h>

#include <list>
#include <string>

namespace xml {

class SafeSchemaIncludes {
public:
    SafeSchemaIncludes();
    ~SafeSchemaIncludes();
    SafeSchemaIncludes(const SafeSchemaIncludes&) = delete;
    SafeSchemaIncludes& operator=(const SafeSchemaIncludes&) = delete;

private:
    static xmlParserInputPtr load(const char* url, const char* id, xmlParserCtxtPtr ctxt);

    xmlExternalEntityLoader previous_;
    SafeSchemaIncludes* outer_;
    std::list<std::string> texts_; // the included files' texts, read by libxml2 until compiled
};

} // namespace xml
