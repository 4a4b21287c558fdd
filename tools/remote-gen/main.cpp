// remote-gen: turns src/core/remote/methods.catalogue into the method table, the client proxy,
// the server's typed interface with its dispatcher, the method list in docs/methods.md and the
// round-trip test cases. Everything that lists the remote methods comes from here.
//
//   remote-gen sources <catalogue> <output folder>   MethodId.h, MethodCatalogueData.cpp,
//                                                    TServerMethods1Client.h/.cpp, TServerMethods1.h/.cpp
//   remote-gen doc <catalogue> <methods.md>
//   remote-gen tests <catalogue> <RoundTripCases.cpp>

#include "Catalogue.h"
#include "Emit.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Writes only when the content changed, so that an unchanged catalogue rebuilds nothing.
void writeFile(const std::filesystem::path &path, const std::string &text)
{
    std::error_code ignored;
    if (std::filesystem::exists(path, ignored)) {
        if (readFile(path.string()) == text)
            return;
    }
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::cerr << "usage: remote-gen sources|doc|tests <catalogue> <output>\n";
        return 2;
    }
    try {
        const std::string mode = argv[1];
        const remotegen::Catalogue catalogue = remotegen::parseCatalogue(readFile(argv[2]));
        const std::filesystem::path out = argv[3];
        if (mode == "sources") {
            writeFile(out / "MethodId.h", remotegen::emitMethodIds(catalogue));
            writeFile(out / "MethodCatalogueData.cpp", remotegen::emitCatalogueData(catalogue));
            writeFile(out / "TServerMethods1Client.h", remotegen::emitClientHeader(catalogue));
            writeFile(out / "TServerMethods1Client.cpp", remotegen::emitClientSource(catalogue));
            writeFile(out / "TServerMethods1.h", remotegen::emitServerHeader(catalogue));
            writeFile(out / "TServerMethods1.cpp", remotegen::emitServerSource(catalogue));
        } else if (mode == "doc") {
            writeFile(out, remotegen::emitMethodList(catalogue));
        } else if (mode == "tests") {
            writeFile(out, remotegen::emitRoundTripCases(catalogue));
        } else {
            std::cerr << "remote-gen: unknown mode " << mode << "\n";
            return 2;
        }
    } catch (const std::exception &e) {
        std::cerr << "remote-gen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
