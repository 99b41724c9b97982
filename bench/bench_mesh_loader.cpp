// Start-up cost of mesh loading: a 50,000-vertex file through the full loader.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <unistd.h>

#include "assets/MeshLoader.h"
#include "assets/ModelCoordinates.h"

namespace {

constexpr int vertexCount = 50000;

// A grid-like strip of vertices with one face per vertex, written the way our exporter does.
size_t writeLargeMesh(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "<mesh>\n<sharedgeometry vertexcount=\"" << vertexCount << "\">\n<vertexbuffer>\n";
    for (int i = 0; i < vertexCount; ++i) {
        float x = float(i % 250) * 0.5f, z = float(i / 250) * 0.5f;
        out << "<vertex><position x=\"" << x << "\" y=\"" << (x * z) * 0.001f << "\" z=\"" << z
            << "\"/><normal x=\"0\" y=\"1\" z=\"0\"/><texcoord u=\"" << x / 125.0f << "\" v=\""
            << z / 100.0f << "\"/></vertex>\n";
    }
    out << "</vertexbuffer>\n</sharedgeometry>\n<submeshes>\n<submesh><faces count=\""
        << vertexCount - 2 << "\">\n";
    for (int i = 0; i + 2 < vertexCount; ++i)
        out << "<face v1=\"" << i << "\" v2=\"" << i + 1 << "\" v3=\"" << i + 2 << "\"/>\n";
    out << "</faces></submesh>\n</submeshes>\n</mesh>\n";
    return size_t(out.tellp());
}

void BM_LoadMesh(benchmark::State& state) {
    std::string path = "/tmp/quillorb-bench-" + std::to_string(::getpid()) + ".mesh.xml";
    size_t bytes = writeLargeMesh(path);
    MeshLoader loader;
    for (auto _ : state) {
        ModelCoordinates* mesh = loader.loadMesh(path.c_str());
        if (mesh == nullptr || mesh->getVertexCount() != vertexCount) {
            state.SkipWithError("the mesh did not load");
            break;
        }
        benchmark::DoNotOptimize(mesh->getIndices());
        delete mesh;
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    state.counters["vertices"] = vertexCount;
    state.counters["file_MB"] = double(bytes) / 1e6;
    std::remove(path.c_str());
}

} // namespace

BENCHMARK(BM_LoadMesh)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
