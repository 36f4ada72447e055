// The drummer, seated behind bass drum, snare, hi-hat and crash cymbal (an open-handed
// player: hi-hat and crash to its right, so that no arm crosses another and the strokes
// read at 92 × 75 pixels). Built in metres, then moved and scaled into the place the
// drummer's camera looks at.
#include "FigureModels.h"

namespace oxafigures
{

namespace
{
    // Colours.
    const Rgb skin { 0.88f, 0.66f, 0.52f }, hair { 0.25f, 0.16f, 0.10f }, shirt { 0.20f, 0.52f, 0.88f },
              trousers { 0.16f, 0.20f, 0.34f }, shoe { 0.10f, 0.10f, 0.10f }, shades { 0.05f, 0.05f, 0.06f },
              shell { 0.72f, 0.10f, 0.12f }, head { 0.94f, 0.91f, 0.82f }, chrome { 0.78f, 0.78f, 0.84f },
              brass { 0.90f, 0.72f, 0.30f }, stand { 0.50f, 0.50f, 0.54f }, seat { 0.18f, 0.18f, 0.20f },
              wood { 0.93f, 0.82f, 0.56f }, snareShell { 0.86f, 0.86f, 0.90f };

    /** Metres to the drummer's scene: the kit's middle to the camera's point of interest. */
    const Transform toScene = Transform::translation ({ 0.1f, 0.40f, 0.20f }) * Transform::scaling (0.30f)
                              * Transform::translation ({ 0.18f, -0.70f, 0.02f });

    // The kit (metres; x to the drummer's left, y up, z towards the viewer).
    const Vec snareCentre { 0.17f, 0.64f, 0.06f };
    constexpr float snareRadius = 0.16f;
    const Vec hiHatCentre { -0.45f, 0.82f, 0.12f };
    constexpr float hiHatRadius = 0.16f;
    const Vec crashCentre { -0.52f, 1.22f, 0.20f };
    const Vec crashNormal { 0.30f, 1.0f, -0.45f };
    constexpr float crashRadius = 0.21f;

    // The drummer.
    const Vec leftShoulder { 0.19f, 1.05f, -0.36f }, rightShoulder { -0.19f, 1.05f, -0.36f };
    constexpr float upperArm = 0.28f, forearm = 0.26f, stickFront = 0.27f, stickBack = 0.10f;

    /** Where the stick meets what it plays, and how it lies there. */
    struct Target
    {
        Vec contact;
        float contactPitch;   // degrees above the horizontal at contact (negative: tip down)
    };

    const Target snareTarget { { 0.13f, 0.705f, 0.08f }, -14.0f };
    const Target hiHatClosedTarget { { -0.40f, 0.845f, 0.04f }, -14.0f };
    const Target hiHatOpenTarget { { -0.40f, 0.885f, 0.04f }, -12.0f };
    const Target crashTarget { { -0.46f, 1.20f, 0.02f }, -4.0f };

    /** How far the stick is lifted at each pose of a stroke (0 at the drum, 1 at the top):
        from the ready position up, down onto the drum at pose 5, and back up. */
    constexpr float strokeLift[12] = { 0.45f, 0.70f, 0.90f, 1.00f, 0.62f, 0.00f, 0.22f, 0.36f, 0.43f, 0.45f, 0.45f, 0.45f };

    Mesh arm (Vec shoulder, Vec grip, Vec stickDirection, Vec pole)
    {
        Mesh m;
        const auto dir = stickDirection.normalised();
        const auto wrist = grip - dir * 0.03f;
        const auto elbow = jointBetween (shoulder, wrist, upperArm, forearm, pole);
        m.add (sphere (shoulder, 0.055f, shirt, 8));
        m.add (tube (shoulder, elbow, 0.052f, 0.044f, 8, shirt, shirt));
        m.add (sphere (elbow, 0.042f, skin, 8));
        m.add (tube (elbow, wrist, 0.040f, 0.032f, 8, skin, skin));
        m.add (sphere (grip, 0.042f, skin, 8));
        // The stick, thicker than life so that it shows at the figure's size.
        m.add (tube (grip - dir * stickBack, grip + dir * stickFront, 0.016f, 0.012f, 6, wood, wood));
        m.add (sphere (grip + dir * stickFront, 0.018f, wood, 6));
        return m;
    }

    Mesh strokePose (Vec shoulder, const Target& target, int pose, Vec pole)
    {
        const float u = strokeLift[pose];
        const Vec up { 0, 1, 0 };
        auto forward = target.contact - shoulder;
        forward.y = 0;
        forward = forward.normalised();
        const float pi = juce::MathConstants<float>::pi;
        auto direction = [&] (float pitch)
        {
            const float r = pitch * pi / 180.0f;
            return forward * std::cos (r) + up * std::sin (r);
        };
        // At the drum: the stick's tip on the contact point.
        const auto gripAtContact = target.contact - direction (target.contactPitch) * stickFront;
        const auto grip = gripAtContact + up * (0.09f * u) - forward * (0.03f * u);
        return arm (shoulder, grip, direction (target.contactPitch + 68.0f * u), pole);
    }

    /** The count-in: both sticks held up before the face, clicked together at pose 11. */
    Mesh countInPose (bool right, int pose)
    {
        const float side = right ? -1.0f : 1.0f;
        const float apart = pose <= 5 ? 1.0f : 1.0f - std::pow ((float) (pose - 5) / 6.0f, 1.3f);
        const Vec grip { side * (0.10f + 0.05f * apart), 1.30f, -0.16f };
        const Vec tip { side * (0.014f + 0.15f * apart), 1.56f, -0.12f };
        const auto direction = tip - grip;
        Mesh m = arm (right ? rightShoulder : leftShoulder, grip, direction, { side, -0.6f, -0.2f });
        return m;
    }

    Mesh hiHat (bool open)
    {
        Mesh m;
        const Vec c = hiHatCentre;
        m.add (tube ({ c.x, 0.0f, c.z }, { c.x, c.y + 0.09f, c.z }, 0.012f, 0.010f, 6, stand, stand));
        for (float a : { 0.0f, 2.1f, 4.2f })
            m.add (tube ({ c.x, 0.30f, c.z }, { c.x + 0.20f * std::cos (a), 0.0f, c.z + 0.20f * std::sin (a) }, 0.010f, 0.010f, 5, stand, stand));
        m.add (cymbal ({ c.x, c.y - 0.005f, c.z }, { 0, -1, 0 }, hiHatRadius, 16, brass));
        m.add (cymbal ({ c.x, c.y + (open ? 0.045f : 0.005f), c.z }, { 0, 1, 0 }, hiHatRadius, 16, brass));
        return m;
    }

    /** The crash cymbal swinging after a hit: pose 0 at rest (the moment of the hit), then
        a rocking that dies away over the ten poses. */
    Mesh crash (int pose)
    {
        Mesh m;
        const float swing = pose == 0 ? 0.0f : 16.0f * std::sin ((float) pose * 1.15f) * std::exp (-0.22f * (float) pose);
        const auto tilt = Transform::rotationAbout (crashCentre, { 0.8f, 0.0f, 0.6f }, swing);
        m.add (cymbal (crashCentre, crashNormal, crashRadius, 20, brass), tilt);
        return m;
    }

    Mesh crashStand()
    {
        Mesh m;
        const Vec top = crashCentre - crashNormal.normalised() * 0.03f;
        const Vec knee { crashCentre.x - 0.05f, 0.85f, crashCentre.z + 0.08f };
        m.add (tube ({ knee.x, 0.0f, knee.z }, knee, 0.012f, 0.012f, 6, stand, stand));
        m.add (tube (knee, top, 0.010f, 0.010f, 6, stand, stand));
        for (float a : { 0.5f, 2.6f, 4.7f })
            m.add (tube ({ knee.x, 0.30f, knee.z }, { knee.x + 0.22f * std::cos (a), 0.0f, knee.z + 0.22f * std::sin (a) }, 0.010f, 0.010f, 5, stand, stand));
        return m;
    }

    Mesh bassDrum()
    {
        Mesh m;
        m.add (drum ({ 0, 0.28f, 0.05f }, { 0, 0.28f, 0.43f }, 0.27f, 24, shell, head, chrome));
        // The spurs and the pedal.
        m.add (tube ({ -0.24f, 0.12f, 0.35f }, { -0.34f, 0.0f, 0.38f }, 0.010f, 0.010f, 5, chrome, chrome));
        m.add (tube ({ 0.24f, 0.12f, 0.35f }, { 0.34f, 0.0f, 0.38f }, 0.010f, 0.010f, 5, chrome, chrome));
        m.add (bar ({ 0.02f, 0.01f, -0.14f }, { 0.02f, 0.03f, 0.04f }, 0.07f, 0.02f, stand));
        // The tom on top of the bass drum keeps the kit from looking bare.
        m.add (drum ({ -0.08f, 0.62f, 0.22f }, { -0.08f, 0.74f, 0.16f }, 0.12f, 16, shell, head, chrome));
        m.add (crashStand());
        return m;
    }

    Mesh snare()
    {
        Mesh m;
        const Vec c = snareCentre;
        m.add (drum (c - Vec { 0, 0.065f, 0 }, c + Vec { 0, 0.065f, 0 }, snareRadius, 20, snareShell, head, chrome));
        m.add (tube ({ c.x, 0.0f, c.z }, c - Vec { 0, 0.06f, 0 }, 0.012f, 0.012f, 6, stand, stand));
        for (float a : { 1.0f, 3.1f, 5.2f })
            m.add (tube ({ c.x, 0.25f, c.z }, { c.x + 0.18f * std::cos (a), 0.0f, c.z + 0.18f * std::sin (a) }, 0.010f, 0.010f, 5, stand, stand));
        return m;
    }

    Mesh chair()
    {
        Mesh m;
        m.add (drum ({ 0, 0.46f, -0.42f }, { 0, 0.54f, -0.42f }, 0.17f, 16, seat, seat, seat));
        m.add (tube ({ 0, 0.10f, -0.42f }, { 0, 0.46f, -0.42f }, 0.018f, 0.018f, 6, stand, stand));
        for (float a : { 0.3f, 2.4f, 4.5f })
            m.add (tube ({ 0, 0.18f, -0.42f }, { 0.24f * std::cos (a), 0.0f, -0.42f + 0.24f * std::sin (a) }, 0.012f, 0.012f, 5, stand, stand));
        return m;
    }

    Mesh body()
    {
        Mesh m;
        // Hips on the seat, the torso leaning a little forward.
        m.add (ellipsoid ({ 0.17f, 0.09f, 0.13f }, 12, 6, trousers).transformed (Transform::translation ({ 0, 0.60f, -0.42f })));
        m.add (ellipsoid ({ 0.18f, 0.27f, 0.12f }, 14, 8, shirt)
                   .transformed (Transform::rotationAbout ({ 0, 0.60f, -0.42f }, { 1, 0, 0 }, 8.0f)
                                 * Transform::translation ({ 0, 0.84f, -0.42f })));
        m.add (tube ({ 0, 1.06f, -0.38f }, { 0, 1.14f, -0.36f }, 0.045f, 0.042f, 8, skin, skin));
        const Vec face { 0, 1.24f, -0.34f };
        m.add (ellipsoid ({ 0.095f, 0.115f, 0.10f }, 12, 8, skin).transformed (Transform::translation (face)));
        m.add (ellipsoid ({ 0.102f, 0.07f, 0.105f }, 12, 6, hair).transformed (Transform::translation (face + Vec { 0, 0.06f, -0.012f })));
        m.add (box ({ 0.15f, 0.03f, 0.02f }, shades).transformed (Transform::translation (face + Vec { 0, 0.012f, 0.092f })));
        return m;
    }

    Mesh leg (float side)
    {
        Mesh m;
        const Vec hip { side * 0.09f, 0.58f, -0.42f };
        const Vec knee { side * 0.20f, 0.58f, -0.10f };
        const Vec ankle { side * 0.19f, 0.09f, -0.06f };
        m.add (tube (hip, knee, 0.075f, 0.060f, 8, trousers, trousers));
        m.add (sphere (knee, 0.060f, trousers, 8));
        m.add (tube (knee, ankle, 0.055f, 0.045f, 8, trousers, trousers));
        m.add (bar ({ ankle.x, 0.03f, ankle.z - 0.04f }, { ankle.x, 0.03f, ankle.z + 0.16f }, 0.09f, 0.06f, shoe));
        return m;
    }

    juce::String numbered (const char* pattern, int n)
    {
        return juce::String (pattern).replace ("%d", juce::String (n));
    }
} // namespace

std::map<juce::String, Mesh> drummerModels()
{
    std::map<juce::String, Mesh> files;
    auto put = [&files] (const juce::String& name, const Mesh& m) { files[name] = m.transformed (toScene); };

    const Vec rightPole { -1.0f, -0.7f, -0.5f }, leftPole { 1.0f, -0.7f, -0.5f };
    for (int p = 0; p < 12; ++p)
    {
        put (numbered ("drumo_move(hihat_close)_%d.ox", p), strokePose (rightShoulder, hiHatClosedTarget, p, rightPole));
        put (numbered ("drumo_move(hihat_open)_%d.ox", p), strokePose (rightShoulder, hiHatOpenTarget, p, rightPole));
        put (numbered ("drumo_move(cymbal)_%d.ox", p), strokePose (rightShoulder, crashTarget, p, { -1.0f, -1.0f, -0.3f }));
        put (numbered ("drumo_Count_Right_%d.ox", p), countInPose (true, p));
        put (numbered ("drumo_move(snear)_%d.ox", p), strokePose (leftShoulder, snareTarget, p, leftPole));
        put (numbered ("drumo_Count_Left_%d.ox", p), countInPose (false, p));
    }
    for (int p = 0; p < 10; ++p)
        put (numbered ("cymbal_move_%d.ox", p + 5), crash (p));
    put ("hihat_close.ox", hiHat (false));
    put ("hihat_open.ox", hiHat (true));
    put ("bassdrum.ox", bassDrum());
    put ("chair.ox", chair());
    put ("snear.ox", snare());
    put ("drumo_body.ox", body());
    put ("drumo_LeftLeg.ox", leg (1.0f));
    put ("drumo_RightLeg.ox", leg (-1.0f));
    return files;
}

Mesh drummerScene (const std::map<juce::String, Mesh>& models, int rightPose, int leftPose, int cymbalPose, bool hiHatOpen)
{
    static const char* const rightKinds[] = { "drumo_move(hihat_close)_%d.ox", "drumo_move(hihat_open)_%d.ox",
                                              "drumo_move(cymbal)_%d.ox", "drumo_Count_Right_%d.ox" };
    static const char* const leftKinds[] = { "drumo_move(snear)_%d.ox", "drumo_Count_Left_%d.ox" };
    Mesh m;
    auto take = [&] (const juce::String& name)
    {
        const auto it = models.find (name);
        if (it != models.end())
            m.add (it->second);
    };
    take (numbered (rightKinds[(rightPose / 12) % 4], rightPose % 12));
    take (numbered (leftKinds[(leftPose / 12) % 2], leftPose % 12));
    take (numbered ("cymbal_move_%d.ox", 5 + cymbalPose % 10));
    take (hiHatOpen ? "hihat_open.ox" : "hihat_close.ox");
    for (auto* fixed : { "bassdrum.ox", "chair.ox", "snear.ox", "drumo_body.ox", "drumo_LeftLeg.ox", "drumo_RightLeg.ox" })
        take (fixed);
    return m;
}

} // namespace oxafigures
