// generateMeshes: the level's geometry, built in memory and written as mesh files.
#include <iostream>

#include "Course.h"
#include "Generators.h"
#include "MeshWriter.h"

MeshBuilder toModel(MeshBuilder world, const glm::dmat4& matrix) {
    world.transform(glm::inverse(matrix));
    return world;
}

MeshBuilder toWorld(MeshBuilder local, const glm::dmat4& matrix) {
    local.transform(matrix);
    return local;
}

Course buildCourse() {
    Course course;
    addObstacles(course);
    addTerrain(course);
    addPaths(course);
    addPlants(course);
    return course;
}

void generateMeshes(const std::string& outDir) {
    const Course course = buildCourse();
    int triangles = 0;
    for (const CourseMesh& m : course.meshes) {
        writeStaticMesh(outDir + "/" + m.file, m.mesh);
        triangles += m.mesh.triangleCount();
    }
    const AnimatedCourseMesh& b = course.barrier;
    writeAnimatedMesh(outDir + "/" + b.file, b.mesh, b.seconds, b.keyframes);
    triangles += b.mesh.triangleCount();
    std::cout << "levelgen: " << course.meshes.size() + 1 << " mesh files, " << triangles
              << " triangles" << std::endl;
}
