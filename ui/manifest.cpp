#include "ui/manifest.h"

#include "core/error.h"
#include "core/hostapp.h"
#include "core/state.h"
#include "files/paths.h"
#include "logging/log_file.h"
#include "ui/manifest_sys.h"

namespace qx::ui {

namespace {

// The three templates, byte for byte. XPThemes puts every attribute of an
// identity on a line of its own; the elevated ones keep the version on the
// identity's line and indent the other attributes by a tab.
const std::string kXPThemes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
    "<assemblyIdentity\r\n"
    "    version=\"1.0.0.0\"\r\n"
    "    processorArchitecture=\"X86\"\r\n"
    "    name=\"Veltrix.XPStylesTester.XPStylesTester\"\r\n"
    "    type=\"win32\"\r\n"
    "/>\r\n"
    "<description>VB code converter.</description>\r\n"
    "<dependency>\r\n"
    "<dependentAssembly>\r\n"
    "    <assemblyIdentity\r\n"
    "        type=\"win32\"\r\n"
    "        name=\"Microsoft.Windows.Common-Controls\"\r\n"
    "        version=\"6.0.0.0\"\r\n"
    "        processorArchitecture=\"X86\"\r\n"
    "        publicKeyToken=\"6595b64144ccf1df\"\r\n"
    "        language=\"*\"\r\n"
    "    />\r\n"
    "</dependentAssembly>\r\n"
    "</dependency>\r\n"
    "</assembly>\r\n"
    "\r\n";

const std::string kElevation =
    "<description>elevate execution level</description>\r\n"
    "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v2\">\r\n"
    "\t<security>\r\n"
    "\t\t<requestedPrivileges>\r\n"
    "\t\t\t<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>\r\n"
    "\t\t</requestedPrivileges>\r\n"
    "\t</security>\r\n"
    "</trustInfo>\r\n";

std::string elevatedHead(const char* name) {
    return std::string(
               "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
               "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
               "<assemblyIdentity version=\"1.0.0.0\"\r\n"
               "\tprocessorArchitecture=\"X86\"\r\n"
               "\tname=\"") +
           name +
           "\"\r\n"
           "\ttype=\"win32\"/>\r\n" +
           kElevation;
}

const std::string kVistaRunAsAdminXPThemes = elevatedHead("Scrivane.exe") +
                                             "<description>VB code converter.</description>\r\n"
                                             "<dependency>\r\n"
                                             "\t<dependentAssembly>\r\n"
                                             "\t\t<assemblyIdentity type=\"win32\" "
                                             "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
                                             "processorArchitecture=\"X86\" publicKeyToken=\"6595b64144ccf1df\" "
                                             "language=\"*\"/>\r\n"
                                             "\t</dependentAssembly>\r\n"
                                             "</dependency>\r\n"
                                             "</assembly>";

const std::string kVistaRunAsAdmin = elevatedHead("ExeName") + "</assembly>";

}  // namespace

const std::string& manifestTemplate(std::int16_t id) {
    switch (id) {
        case 102: return kVistaRunAsAdminXPThemes;
        case 103: return kVistaRunAsAdmin;
        default: return kXPThemes;
    }
}

String manifestText(const String& exeName, std::int16_t id) {
    const std::string& bytes = manifestTemplate(id);
    String text;
    text.reserve(bytes.size() + 2);
    for (const char b : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(b));

    const String placeholder = u"ExeName";
    const String replacement = exeName + u".exe";
    for (std::size_t at = text.find(placeholder); at != String::npos;
         at = text.find(placeholder, at + replacement.size())) {
        text.replace(at, placeholder.size(), replacement);
    }
    return text + u"\r\n";
}

String createManifestFile(const String& exeName, const String& pathName, std::int16_t id) {
    const String text = manifestText(exeName, id);
    const String path = files::fixPath(pathName) + exeName + u".exe.manifest";
    try {
        logging::replaceFile(path, [&] { return toNarrow(text); });
    } catch (const RuntimeError&) {
        return String();
    }
    return path;
}

void initXPStyles(std::int16_t style) {
    const ObjectRef& app = state().HostApp;
    const String exe = host::exeName(app);
    const String folder = host::path(app);
    createManifestFile(exe, folder, style);
    // The controls work without their extended classes; a failure changes nothing the host relies on.
    sys::initCommonControls();
}

}  // namespace qx::ui
