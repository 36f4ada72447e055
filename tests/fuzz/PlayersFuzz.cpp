// The figures' .ox model reader.

#include "FuzzSupport.h"
#include "players/Object3DGL.h"

OXA_FUZZ_TARGET (OxModel)
{
    const auto model = T730::Object3DGL::fromData (data, size);
    const auto triangles = (size_t) model->getNumTriangles(), quads = (size_t) model->getNumQuads();
    oxafuzz::require (model->getTriangleData().size() == 9 * triangles && model->getQuadData().size() == 16 * quads,
                      "a model holds whole triangles and quads");
    oxafuzz::require (model->isEmpty() || 8 + 4 * (9 * triangles + 16 * quads) <= size, "a model never holds more than its data");
    for (float v : model->getQuadData())
        oxafuzz::require (std::isfinite (v), "every number read is finite");

    model->prepareColours (juce::Colours::white);
    for (int i = 0; i < (int) (triangles + quads); ++i)
        juce::ignoreUnused (model->getPolygonColour (i));
    return 0;
}
