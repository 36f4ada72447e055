// The drum grooves and bass rhythms of the factory styles, one step a character.
#include "RhythmTables.h"

namespace oxafactory
{

namespace
{
    // General MIDI percussion notes.
    enum Drum
    {
        kick = 36, sideStick = 37, snare = 38, clap = 39, floorTom = 43, closedHat = 42, pedalHat = 44,
        openHat = 46, lowMidTom = 47, crash = 49, highTom = 50, ride = 51, cowbell = 56,
        openConga = 63, lowConga = 64
    };

    //                                  1...2...3...4...
    const std::vector<DrumRow> fill16 { { closedHat, "x.x.x.x........." },
                                        { snare,     "....X.......x..." },
                                        { highTom,   "........X.x....." },
                                        { lowMidTom, ".............x.." },
                                        { floorTom,  "..............Xx" },
                                        { kick,      "X.......X......." } };

    const std::vector<DrumRow> fillHeavy16 { { kick,      "xxxxxxxxxxxxxxxx" },
                                             { snare,     "....X..........." },
                                             { highTom,   "........xx......" },
                                             { lowMidTom, "..........xx...." },
                                             { floorTom,  "............xxxx" } };

    const std::vector<DrumRow> fillSoft16 { { closedHat, "x.x.x.x.x.x....." },
                                            { snare,     "....x.......o.x." },
                                            { highTom,   "..........x....." },
                                            { floorTom,  "..............x." },
                                            { kick,      "X.......X......." } };

    //                                  1..2..3..4..
    const std::vector<DrumRow> fill12 { { closedHat, "x.xx.x......" },
                                        { snare,     "...X........" },
                                        { highTom,   "......X.x..." },
                                        { lowMidTom, ".........X.." },
                                        { floorTom,  "...........X" },
                                        { kick,      "X.....X....." } };

    //                                    1..2..3..4..  (12/8: four beats of three eighths)
    const std::vector<DrumRow> fill128 { { ride,      "XxxXxx......" },
                                         { snare,     "...X........" },
                                         { highTom,   "......XxX..." },
                                         { lowMidTom, ".........Xx." },
                                         { floorTom,  "...........X" },
                                         { kick,      "X.....X....." } };

    //                                  1.....  (6/8: two beats of three eighths)
    const std::vector<DrumRow> fill68 { { closedHat, "Xxx..." },
                                        { snare,     "...X.." },
                                        { highTom,   "....x." },
                                        { floorTom,  ".....x" },
                                        { kick,      "X....." } };

    //                                  1.2.3.  (3/4 in eighths)
    const std::vector<DrumRow> fill34 { { closedHat, "x....." },
                                        { snare,     "..x.x." },
                                        { highTom,   "...x.." },
                                        { floorTom,  ".....x" },
                                        { kick,      "X....." } };

    std::vector<Groove> makeGrooves()
    {
        std::vector<Groove> g;

        //                          1...2...3...4...
        g.push_back ({ "rock8", 4, 4, 16,
                       { { closedHat, "x.x.x.x.x.x.x.x." }, { snare, "....X.......X..." }, { kick, "X.......X.x....." } },
                       fill16, "1-1-1-1-1-1-1-1-" });
        g.push_back ({ "rock16", 4, 4, 16,
                       { { closedHat, "XxxxXxxxXxxxXxxx" }, { snare, "....X.......X..." }, { kick, "X.....X.X.X....." } },
                       fill16, "1-.1..1-1-.5..8." });
        g.push_back ({ "funk16", 4, 4, 16,
                       { { closedHat, "xoxoxoxoxoxoxoxo" }, { snare, "....X..o.o..X..o" }, { kick, "X..X..X...X....." } },
                       fill16, "1..8..b.1.81..b5" });
        g.push_back ({ "metal16", 4, 4, 16,
                       { { closedHat, "X.x.X.x.X.x.X.x." }, { snare, "....X.......X..." }, { kick, "xxxxxxxxxxxxxxxx" } },
                       fillHeavy16, "1111111111111111" });
        g.push_back ({ "gallop16", 4, 4, 16,
                       { { closedHat, "x.x.x.x.x.x.x.x." }, { snare, "....X.......X..." }, { kick, "X.xxX.xxX.xxX.xx" } },
                       fillHeavy16, "1.111.111.111.11" });
        g.push_back ({ "punk16", 4, 4, 16,
                       { { closedHat, "x.x.x.x.x.x.x.x." }, { snare, "..X...X...X...X." }, { kick, "X...X...X...X..." } },
                       fill16, "1-1-1-1-1-1-1-1-" });
        g.push_back ({ "ballad16", 4, 4, 16,
                       { { closedHat, "x.x.x.x.x.x.x.x." }, { snare, "....x.......x..." }, { kick, "X......xX......." } },
                       fillSoft16, "1-------5---3---" });
        g.push_back ({ "reggae16", 4, 4, 16,
                       { { closedHat, "x.x.x.x.x.x.x.x." }, { sideStick, "........X......." }, { kick, "........X......." } },
                       fillSoft16, "1--.5-8-....1-5-", false });
        g.push_back ({ "bossa16", 4, 4, 16,
                       { { sideStick, "X..X..X...X..X.." }, { closedHat, "xoxoxoxoxoxoxoxo" }, { kick, "X..xX..xX..xX..x" } },
                       fillSoft16, "1--5-.5-1--5-.5-", false });
        g.push_back ({ "country16", 4, 4, 16,
                       { { closedHat, "x.x.x.x.x.x.x.x." }, { snare, "....X.......X..." }, { kick, "X.......X......." } },
                       fill16, "1---5---1---5---" });
        g.push_back ({ "train16", 4, 4, 16,
                       { { snare, "ooooXoooooooXooo" }, { closedHat, "..x...x...x...x." }, { kick, "X.......X......." } },
                       fillSoft16, "1---5---1---5---" });
        g.push_back ({ "hardrock16", 4, 4, 16,
                       { { closedHat, "x.x.x.x.x.x.x.x." }, { snare, "....X.......X..." }, { kick, "X.X.....X.X....." } },
                       fill16, "1-1-1-8-1-1-5-8-" });
        g.push_back ({ "latin16", 4, 4, 16,
                       { { cowbell, "X.x.X.x.X.x.X.x." }, { openConga, "..x..x....x..x.." }, { lowConga, ".......x.......x" },
                         { snare, "....X.......X..." }, { kick, "X..X....X..X...." } },
                       fill16, "1--5--8-1--5--8-" });
        g.push_back ({ "psych16", 4, 4, 16,
                       { { closedHat, "x.x.x.x.x.x.x.x." }, { snare, "........X......." }, { kick, "X.....X...X....." } },
                       fillSoft16, "1-------5---b---" });
        g.push_back ({ "fusion16", 4, 4, 16,
                       { { closedHat, "x.xxx.xxx.xxx.xx" }, { snare, "....X..o....X.o." }, { kick, "X..X..X...X..X.." } },
                       fill16, "1..5..8.7.5.3..1" });
        g.push_back ({ "disco16", 4, 4, 16,
                       { { openHat, "..X...X...X...X." }, { closedHat, "x...x...x...x..." }, { snare, "....X.......X..." },
                         { kick, "X...X...X...X..." } },
                       fill16, "1-8-1-8-1-8-1-8-" });
        g.push_back ({ "surf16", 4, 4, 16,
                       { { closedHat, "x.x.x.x.x.x.x.x." }, { snare, "....X.......X..." }, { kick, "X.X.....X.X....." } },
                       fill16, "1-1-5-5-8-8-5-5-" });

        //                          1..2..3..4..  (eighth-note triplets: the swung styles)
        g.push_back ({ "shuffle", 4, 4, 12,
                       { { closedHat, "x.xx.xx.xx.x" }, { snare, "...X.....X.." }, { kick, "X.....X.x..." } },
                       fill12, "1-13-35-56-6" });
        g.push_back ({ "swing12", 4, 4, 12,
                       { { ride, "X..X.xX..X.x" }, { pedalHat, "...X.....X.." }, { kick, "o.....o....." } },
                       { { ride, "X..X.xX....." }, { snare, "......x.xX.x" }, { pedalHat, "...X.....X.." }, { kick, "o.....o....." } },
                       "1--3--5--a--", false });
        g.push_back ({ "rockabilly12", 4, 4, 12,
                       { { closedHat, "x.xx.xx.xx.x" }, { snare, "...X.....X.." }, { kick, "X.....X....." } },
                       fill12, "1.15.58.86.5" });

        //                          1..2..3..4..  (12/8)
        g.push_back ({ "blues128", 12, 8, 12,
                       { { ride, "XxxXxxXxxXxx" }, { snare, "...X.....X.." }, { kick, "X.....X....." } },
                       fill128, "1--3--5--6-5" });
        g.push_back ({ "gospel128", 12, 8, 12,
                       { { closedHat, "XxxXxxXxxXxx" }, { clap, "...X.....X.." }, { snare, "...X.....X.." }, { kick, "X....xX....." } },
                       fill128, "1--3--5--3--" });

        //                          1..2..  (6/8)
        g.push_back ({ "ballad68", 6, 8, 6,
                       { { closedHat, "Xxxxxx" }, { snare, "...X.." }, { kick, "X....x" } },
                       fill68, "1--5--" });

        //                          1.2.3.  (3/4 in eighths)
        g.push_back ({ "waltz34", 3, 4, 6,
                       { { closedHat, "x.x.x." }, { snare, "..x.x." }, { kick, "X....." } },
                       fill34, "1---5-" });
        return g;
    }
} // namespace

const std::vector<Groove>& grooves()
{
    static const auto list = makeGrooves();
    return list;
}

const Groove* findGroove (const std::string& key)
{
    for (auto& g : grooves())
        if (g.key == key)
            return &g;
    return nullptr;
}

} // namespace oxafactory
