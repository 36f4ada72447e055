// The bassist: a standing player with a four-string bass hanging across the body,
// neck to the player's left. The body (with the bass and the plucking arm) sways
// once per four beats over 45 poses and nods on every beat; the fretting arm has
// five places along the neck. Built in metres, then moved and scaled into the place
// the bassist's camera looks at.
#include "FigureModels.h"

namespace oxafigures
{

namespace
{
    const Rgb skin { 0.88f, 0.66f, 0.52f }, hair { 0.12f, 0.09f, 0.07f }, shirt { 0.15f, 0.62f, 0.50f },
              jeans { 0.18f, 0.26f, 0.48f }, shoe { 0.10f, 0.10f, 0.10f }, bassBody { 0.92f, 0.42f, 0.10f },
              bassEdge { 0.45f, 0.14f, 0.05f }, guard { 0.95f, 0.95f, 0.92f }, maple { 0.88f, 0.72f, 0.46f },
              board { 0.28f, 0.17f, 0.10f }, metal { 0.80f, 0.80f, 0.84f }, strap { 0.08f, 0.08f, 0.09f },
              pickup { 0.08f, 0.08f, 0.08f };

    const Transform toScene = Transform::translation ({ 0.0f, 0.50f, 0.10f }) * Transform::scaling (0.205f)
                              * Transform::translation ({ -0.02f, -0.88f, -0.05f });

    const Vec hips { 0, 0.95f, 0 };
    const Vec leftShoulder { 0.19f, 1.44f, -0.01f }, rightShoulder { -0.19f, 1.44f, -0.01f };
    constexpr float upperArm = 0.29f, forearm = 0.27f;

    // The bass: its body's middle, the direction of the neck and the face's normal.
    const Vec bassCentre { -0.10f, 1.02f, 0.15f };
    const Vec neckDirection = Vec { 1.0f, 0.40f, 0.10f }.normalised();
    const Vec faceNormal = Vec { -0.08f, 0.05f, 1.0f }.normalised();
    constexpr float neckStart = 0.20f, nutAt = 0.86f;

    /** The bass's own frame: x along the neck, y across it, z out of its face. */
    Transform bassFrame()
    {
        const auto x = neckDirection;
        const auto y = faceNormal.cross (x).normalised();
        const auto z = x.cross (y).normalised();
        Transform t;
        t.row0 = { x.x, y.x, z.x };
        t.row1 = { x.y, y.y, z.y };
        t.row2 = { x.z, y.z, z.z };
        t.t = bassCentre;
        return t;
    }

    Vec onBass (float along, float across, float out) { return bassFrame().apply ({ along, across, out }); }

    /** Places of the fretting hand along the neck, nut first: low notes near the nut. */
    constexpr float handPlaces[5] = { 0.80f, 0.70f, 0.60f, 0.51f, 0.42f };
    /** The place each hand file shows (files 1..5): the program picks a file by the note. */
    constexpr int placeOfFile[5] = { 2, 3, 1, 0, 4 };

    Mesh bass()
    {
        Mesh m;
        // A double-cut body, outline in the bass's frame (metres).
        std::vector<juce::Point<float>> outline;
        const float pi = juce::MathConstants<float>::pi;
        for (int i = 0; i < 28; ++i)
        {
            const float a = 2 * pi * (float) i / 28.0f;
            float rx = 0.24f, ry = 0.17f;
            // The horns: the upper one longer, both reaching along the neck.
            const float horn = std::pow (juce::jmax (0.0f, std::cos (a)), 6.0f);
            rx += 0.10f * horn * (std::sin (a) > 0 ? 1.0f : 0.6f);
            ry *= 1.0f - 0.35f * horn;
            const float waist = 0.03f * std::pow (std::sin (a), 2.0f);
            outline.push_back ({ rx * std::cos (a) - 0.02f, (ry - waist) * std::sin (a) });
        }
        m.add (extrusion (outline, 0.045f, bassBody, bassEdge), bassFrame());
        // Pickguard, pickups and bridge on the face.
        m.add (box ({ 0.16f, 0.12f, 0.006f }, guard).transformed (bassFrame() * Transform::translation ({ 0.02f, 0.02f, 0.025f })));
        m.add (box ({ 0.035f, 0.09f, 0.01f }, pickup).transformed (bassFrame() * Transform::translation ({ -0.02f, 0.0f, 0.03f })));
        m.add (box ({ 0.03f, 0.09f, 0.01f }, pickup).transformed (bassFrame() * Transform::translation ({ -0.12f, 0.0f, 0.03f })));
        m.add (box ({ 0.03f, 0.08f, 0.015f }, metal).transformed (bassFrame() * Transform::translation ({ -0.19f, 0.0f, 0.03f })));
        // Neck, fretboard, headstock and pegs.
        m.add (bar (onBass (neckStart, 0, 0.0f), onBass (nutAt, 0, 0.0f), 0.05f, 0.025f, maple));
        m.add (bar (onBass (neckStart, 0, 0.016f), onBass (nutAt, 0, 0.016f), 0.048f, 0.008f, board));
        m.add (bar (onBass (nutAt, 0.005f, 0.0f), onBass (nutAt + 0.18f, 0.02f, 0.0f), 0.075f, 0.02f, maple));
        for (int k = 0; k < 4; ++k)
            m.add (tube (onBass (nutAt + 0.04f + 0.04f * (float) k, 0.04f, 0), onBass (nutAt + 0.04f + 0.04f * (float) k, 0.075f, 0),
                         0.008f, 0.008f, 5, metal, metal));
        // The strings, as one light strip (single strings would vanish at this size).
        m.add (bar (onBass (-0.19f, 0, 0.022f), onBass (nutAt, 0, 0.022f), 0.03f, 0.003f, metal));
        // The strap, from the lower horn over the left shoulder.
        m.add (tube (onBass (-0.20f, -0.12f, -0.02f), { 0.05f, 1.28f, -0.13f }, 0.016f, 0.016f, 5, strap, strap));
        m.add (tube ({ 0.05f, 1.28f, -0.13f }, leftShoulder + Vec { -0.02f, 0.04f, -0.03f }, 0.016f, 0.016f, 5, strap, strap));
        m.add (tube (leftShoulder + Vec { -0.02f, 0.04f, -0.03f }, onBass (0.22f, 0.05f, -0.02f), 0.016f, 0.016f, 5, strap, strap));
        return m;
    }

    Mesh limb (Vec from, Vec joint, Vec to, float r0, float r1, float r2, Rgb upper, Rgb lower)
    {
        Mesh m;
        m.add (sphere (from, r0, upper, 8));
        m.add (tube (from, joint, r0, r1, 8, upper, upper));
        m.add (sphere (joint, r1, lower, 8));
        m.add (tube (joint, to, r1, r2, 8, lower, lower));
        return m;
    }

    Mesh body (int pose)
    {
        const float pi = juce::MathConstants<float>::pi;
        const float phase = 2 * pi * (float) pose / 45.0f;
        const float sway = 2.2f * std::sin (phase);                      // once per four beats
        const float beat = 0.5f - 0.5f * std::cos (4 * phase);            // every beat
        const float nod = 7.0f * beat;
        const auto lean = Transform::rotationAbout (hips, { 0, 0, 1 }, sway);

        Mesh m;
        // Legs, standing a little apart, the knees giving a little on the beat.
        for (float side : { -1.0f, 1.0f })
        {
            const Vec hip { side * 0.09f, 0.93f, 0 };
            const Vec knee { side * 0.13f, 0.50f, 0.03f + 0.015f * beat };
            const Vec ankle { side * 0.15f, 0.08f, 0 };
            m.add (limb (hip, knee, ankle, 0.075f, 0.058f, 0.048f, jeans, jeans));
            m.add (bar ({ ankle.x, 0.03f, ankle.z - 0.05f }, { ankle.x, 0.03f, ankle.z + 0.15f }, 0.09f, 0.06f, shoe));
        }
        m.add (ellipsoid ({ 0.16f, 0.09f, 0.11f }, 12, 6, jeans).transformed (Transform::translation ({ 0, 0.97f, 0 })));

        // Torso, neck and head lean with the sway; the head nods on the beat.
        Mesh upper;
        upper.add (ellipsoid ({ 0.18f, 0.27f, 0.115f }, 14, 8, shirt).transformed (Transform::translation ({ 0, 1.22f, 0 })));
        upper.add (tube ({ 0, 1.46f, 0 }, { 0, 1.53f, 0.01f }, 0.045f, 0.042f, 8, skin, skin));
        Mesh headMesh;
        const Vec face { 0, 1.63f, 0.02f };
        headMesh.add (ellipsoid ({ 0.095f, 0.115f, 0.10f }, 12, 8, skin).transformed (Transform::translation (face)));
        headMesh.add (ellipsoid ({ 0.105f, 0.085f, 0.108f }, 12, 6, hair).transformed (Transform::translation (face + Vec { 0, 0.05f, -0.015f })));
        headMesh.add (ellipsoid ({ 0.06f, 0.12f, 0.05f }, 8, 5, hair).transformed (Transform::translation (face + Vec { 0, -0.02f, -0.075f })));
        upper.add (headMesh, Transform::rotationAbout ({ 0, 1.52f, 0 }, { 1, 0, 0 }, nod));
        m.add (upper, lean);

        // The plucking arm: from the leaning shoulder to the strings over the pickups.
        const auto shoulder = lean.apply (rightShoulder);
        const float pluck = std::sin (8 * phase);   // eighth notes
        const auto hand = onBass (-0.06f, 0.015f * pluck, 0.06f);
        const auto wrist = onBass (-0.02f, 0.05f + 0.015f * pluck, 0.07f);
        const auto elbow = jointBetween (shoulder, wrist, upperArm, forearm, { -1.0f, -0.2f, -0.6f });
        m.add (limb (shoulder, elbow, wrist, 0.05f, 0.04f, 0.033f, shirt, skin));
        m.add (sphere (hand, 0.04f, skin, 8));
        m.add (tube (wrist, hand, 0.033f, 0.03f, 6, skin, skin));

        m.add (bass());
        return m;
    }

    Mesh frettingArm (int place)
    {
        const float along = handPlaces[place];
        const auto hand = onBass (along, -0.015f, 0.04f);
        const auto wrist = onBass (along + 0.01f, -0.07f, 0.0f);
        const auto elbow = jointBetween (leftShoulder, wrist, upperArm, forearm, { 0.6f, -1.0f, -0.3f });
        Mesh m = limb (leftShoulder, elbow, wrist, 0.05f, 0.04f, 0.033f, shirt, skin);
        m.add (tube (wrist, hand, 0.033f, 0.03f, 6, skin, skin));
        m.add (ellipsoid ({ 0.045f, 0.035f, 0.04f }, 8, 5, skin).transformed (Transform::translation (hand)));
        return m;
    }
} // namespace

std::map<juce::String, Mesh> bassistModels()
{
    std::map<juce::String, Mesh> files;
    for (int p = 0; p < 45; ++p)
        files["basso_move_" + juce::String (p) + ".ox"] = body (p).transformed (toScene);
    for (int f = 1; f <= 5; ++f)
        files["basso_lefthand" + juce::String (f) + ".ox"] = frettingArm (placeOfFile[f - 1]).transformed (toScene);
    return files;
}

Mesh bassistScene (const std::map<juce::String, Mesh>& models, int bodyPose, int handPose)
{
    Mesh m;
    for (const auto& name : { "basso_move_" + juce::String (bodyPose % 45) + ".ox",
                              "basso_lefthand" + juce::String (handPose % 5 + 1) + ".ox" })
    {
        const auto it = models.find (name);
        if (it != models.end())
            m.add (it->second);
    }
    return m;
}

} // namespace oxafigures
