#include "core/hostapp.h"

#include "core/error.h"

namespace qx::host {

namespace {
Variant read(const ObjectRef& app, const char16_t* name) {
    if (!app) raise(err::ObjectNotSet);
    return app->get(name);
}
}  // namespace

String exeName(const ObjectRef& app) { return read(app, u"EXEName").toString(); }
String path(const ObjectRef& app) { return read(app, u"Path").toString(); }
String title(const ObjectRef& app) { return read(app, u"Title").toString(); }
String companyName(const ObjectRef& app) { return read(app, u"CompanyName").toString(); }
std::int16_t versionMajor(const ObjectRef& app) { return read(app, u"Major").toInt16(); }
std::int16_t versionMinor(const ObjectRef& app) { return read(app, u"Minor").toInt16(); }
std::int16_t versionRevision(const ObjectRef& app) { return read(app, u"Revision").toInt16(); }

ObjectRef makeApp(const String& exeName, const String& path, const String& title, const String& companyName,
                  std::int16_t major, std::int16_t minor, std::int16_t revision) {
    auto app = MemoryObject::create(u"App");
    app->prop(u"EXEName", exeName)
        .prop(u"Path", path)
        .prop(u"Title", title)
        .prop(u"CompanyName", companyName)
        .prop(u"Major", major)
        .prop(u"Minor", minor)
        .prop(u"Revision", revision);
    return app;
}

}  // namespace qx::host
