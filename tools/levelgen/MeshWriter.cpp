#include "MeshWriter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

// Shortest text that reads back as the same float; never "-0".
std::string number(float value) {
    if (value == 0.0f)
        return "0";
    char text[32];
    for (int digits = 6; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value)
            break;
    }
    return text;
}

void writeXyz(std::ostream& out, const char* element, const glm::vec3& v) {
    out << '<' << element << " x=\"" << number(v.x) << "\" y=\"" << number(v.y) << "\" z=\""
        << number(v.z) << "\"/>";
}

void writeUv(std::ostream& out, const glm::vec2& uv) {
    out << "<texcoord u=\"" << number(uv.x) << "\" v=\"" << number(uv.y) << "\"/>";
}

void writeFaces(std::ostream& out, const MeshBuilder& mesh) {
    const std::vector<int>& idx = mesh.indices();
    out << "  <submeshes>\n    <submesh>\n      <faces count=\"" << mesh.triangleCount() << "\">\n";
    for (size_t i = 0; i + 2 < idx.size(); i += 3)
        out << "        <face v1=\"" << idx[i] << "\" v2=\"" << idx[i + 1] << "\" v3=\""
            << idx[i + 2] << "\"/>\n";
    out << "      </faces>\n    </submesh>\n  </submeshes>\n";
}

bool save(const std::string& path, const std::string& text) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::ofstream file(path, std::ios::binary);
    file << text;
    file.close();
    if (!file) {
        std::cerr << "levelgen: could not write " << path << std::endl;
        return false;
    }
    return true;
}

} // namespace

bool writeStaticMesh(const std::string& path, const MeshBuilder& mesh) {
    std::ostringstream out;
    out << "<mesh>\n  <sharedgeometry vertexcount=\"" << mesh.vertexCount()
        << "\">\n    <vertexbuffer positions=\"true\" normals=\"true\" texture_coords=\"1\">\n";
    for (const MeshBuilder::Vertex& v : mesh.vertices()) {
        out << "      <vertex>";
        writeXyz(out, "position", v.position);
        writeXyz(out, "normal", v.normal);
        writeUv(out, v.uv);
        out << "</vertex>\n";
    }
    out << "    </vertexbuffer>\n  </sharedgeometry>\n";
    writeFaces(out, mesh);
    out << "</mesh>\n";
    return save(path, out.str());
}

bool writeAnimatedMesh(const std::string& path, const MeshBuilder& mesh, float seconds,
                       const std::vector<std::vector<glm::vec3>>& keyframes) {
    std::ostringstream out;
    out << "<mesh>\n  <sharedgeometry vertexcount=\"" << mesh.vertexCount() << "\">\n";
    out << "    <vertexbuffer positions=\"true\">\n";
    for (const MeshBuilder::Vertex& v : mesh.vertices()) {
        out << "      <vertex>";
        writeXyz(out, "position", v.position);
        out << "</vertex>\n";
    }
    out << "    </vertexbuffer>\n    <vertexbuffer normals=\"true\">\n";
    for (const MeshBuilder::Vertex& v : mesh.vertices()) {
        out << "      <vertex>";
        writeXyz(out, "normal", v.normal);
        out << "</vertex>\n";
    }
    out << "    </vertexbuffer>\n    <vertexbuffer texture_coords=\"1\">\n";
    for (const MeshBuilder::Vertex& v : mesh.vertices()) {
        out << "      <vertex>";
        writeUv(out, v.uv);
        out << "</vertex>\n";
    }
    out << "    </vertexbuffer>\n  </sharedgeometry>\n";
    writeFaces(out, mesh);
    out << "  <animations>\n    <animation name=\"rise\" length=\"" << number(seconds)
        << "\">\n      <tracks>\n        <track target=\"mesh\" type=\"morph\">\n"
        << "          <keyframes>\n";
    const size_t n = keyframes.size();
    for (size_t k = 0; k < n; ++k) {
        out << "            <keyframe time=\""
            << number(seconds * static_cast<float>(k) / static_cast<float>(n)) << "\">\n";
        for (const glm::vec3& p : keyframes[k]) {
            out << "              ";
            writeXyz(out, "position", p);
            out << '\n';
        }
        out << "            </keyframe>\n";
    }
    out << "          </keyframes>\n        </track>\n      </tracks>\n    </animation>\n"
        << "  </animations>\n</mesh>\n";
    return save(path, out.str());
}
