#!/usr/bin/env python3
# Makes the spoken-sound streams the engine's tests hear: espeak-ng takes at
# random offsets among silence and room noise, as one 16 kHz stream each.
# Run again only to change them (espeak-ng's output changes between versions,
# so the streams are kept as made). Writes WAV; scripts/generar_veu.sh turns
# them into FLAC. With --joc DIR SEED... it makes instead, in DIR/SEED, the
# larger sets the recognition-rate test builds when it runs (see joc()).
import array, math, os, random, subprocess, sys, tempfile, wave

RATE = 16000
rnd = random.Random(16)


def espeak(text, pitch, speed, voice="es"):
    with tempfile.NamedTemporaryFile(suffix=".wav") as f:
        subprocess.run(["espeak-ng", "-v", voice, "-p", str(pitch), "-s", str(speed), "-w", f.name, text], check=True)
        w = wave.open(f.name)
        src_rate = w.getframerate()
        s = array.array("h", w.readframes(w.getnframes()))
    return trim(resample(s, src_rate))


def resample(s, src_rate):
    # Linear resampling to 16 kHz, then trim espeak's own silence.
    n = int(len(s) * RATE / src_rate)
    out = []
    for i in range(n):
        x = i * src_rate / RATE
        j = int(x)
        f = x - j
        a = s[j] if j < len(s) else 0
        b = s[j + 1] if j + 1 < len(s) else 0
        out.append(a + (b - a) * f)
    return out


def trim(out):
    while out and abs(out[0]) < 50:
        out.pop(0)
    while out and abs(out[-1]) < 50:
        out.pop()
    return out


def noise(n, amp):
    return [rnd.gauss(0, amp) for _ in range(n)]


def stream(parts, path):
    # parts: list of (label, samples, gain); room noise under everything.
    sig = []
    marks = []
    for label, samples, gain in parts:
        sig += [0.0] * int(RATE * rnd.uniform(0.5, 1.1))
        marks.append((label, len(sig) / RATE))
        sig += [x * gain for x in samples]
    sig += [0.0] * int(RATE * 0.8)
    write_room(sig, noise(len(sig), 60), path)
    with open(path[:-4] + ".txt", "w") as f:
        for label, t in marks:
            f.write("%s %.3f\n" % (label, t))


def write_room(sig, room, path):
    hum = 2 * math.pi * 50 / RATE
    out = array.array("h")
    for i, x in enumerate(sig):
        v = x + room[i % len(room)] + 40 * math.sin(hum * i)
        out.append(max(-32768, min(32767, int(v))))
    w = wave.open(path, "wb")
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(RATE)
    w.writeframes(out.tobytes())
    w.close()


def main(dest):
    sounds = ["a", "i", "o"]
    train = []
    # Entry by entry, as the training window asks for them.
    for s in sounds:
        for take in range(3):
            train.append((s, espeak(s, 50, 160 + 10 * take), 1.0))
    stream(train, os.path.join(dest, "veu_entrenament.wav"))

    test = []
    for s in sounds:
        for k in range(10):
            test.append((s, espeak(s, rnd.choice([25, 35, 40, 60, 65, 75]), rnd.choice([110, 130, 200, 230])),
                         rnd.uniform(0.5, 1.2)))
    for syl in ["mu", "su", "fe", "pu"]:
        test.append(("-", espeak(syl, 50, 160), 1.0))
    for k in range(3):
        test.append(("-", noise(int(RATE * rnd.uniform(0.2, 0.5)), 2500), 1.0))
    rnd.shuffle(test)
    stream(test, os.path.join(dest, "veu_prova.wav"))


def pink(n, r):
    # Paul Kellet's filter on white noise, unit RMS.
    b = [0.0] * 7
    out = []
    for _ in range(n):
        w = r.gauss(0, 1)
        b[0] = 0.99886 * b[0] + w * 0.0555179
        b[1] = 0.99332 * b[1] + w * 0.0750759
        b[2] = 0.96900 * b[2] + w * 0.1538520
        b[3] = 0.86650 * b[3] + w * 0.3104856
        b[4] = 0.55000 * b[4] + w * 0.5329522
        b[5] = -0.7616 * b[5] - w * 0.0168980
        out.append(sum(b) + b[6] + w * 0.5362)
        b[6] = w * 0.115926
    return unit(out)


def brown(n, r):
    y, out = 0.0, []
    for _ in range(n):
        y = 0.98 * y + r.gauss(0, 1)
        out.append(y)
    return unit(out)


def unit(x):
    k = rms(x)
    return [v / k for v in x]


def rms(x):
    return (sum(v * v for v in x) / len(x)) ** 0.5


def burst(r, n, low, decay):
    # Noise with a sharp attack and an exponential fall, smoothed by one pole
    # (`low` near 1 for a dull thump, near 0 for a hiss).
    y, out = 0.0, []
    for i in range(n):
        y = low * y + (1 - low) * r.gauss(0, 1)
        out.append(y * math.exp(-i / (decay * RATE)))
    return out


def resonate(x, hz, width):
    # A two-pole resonance at `hz`, `width` Hz wide.
    rr = math.exp(-math.pi * width / RATE)
    a1, a2 = 2 * rr * math.cos(2 * math.pi * hz / RATE), -rr * rr
    y1 = y2 = 0.0
    out = []
    for v in x:
        y = v + a1 * y1 + a2 * y2
        out.append(y)
        y1, y2 = y, y1
    return out


def envelope(x, attack, release):
    n, a, b = len(x), int(attack * RATE) + 1, int(release * RATE) + 1
    return [v * min(1.0, i / a, (n - i) / b) for i, v in enumerate(x)]


def cough(r):
    # One or two bursts of breath through the throat's resonances, some with
    # the voice catching at their end.
    out = []
    for _ in range(r.choice([1, 1, 2])):
        n = int(RATE * r.uniform(0.15, 0.35))
        x = burst(r, n, 0.3, r.uniform(0.05, 0.12))
        x = [a + b for a, b in zip(resonate(x, r.uniform(400, 900), 300), resonate(x, r.uniform(1500, 2600), 500))]
        if r.random() < 0.5:
            f0 = r.uniform(110, 260)
            x = [v * (1 + 0.5 * math.sin(2 * math.pi * f0 * i / RATE)) for i, v in enumerate(x)]
        out += unit(x) + [0.0] * int(RATE * r.uniform(0.05, 0.15))
    return out


def claps(r):
    out = []
    for _ in range(r.randint(1, 3)):
        x = resonate(burst(r, int(RATE * 0.08), 0.0, r.uniform(0.004, 0.015)), r.uniform(900, 2200), 1200)
        out += unit(x) + [0.0] * int(RATE * r.uniform(0.15, 0.35))
    return out


def breath(r):
    n = int(RATE * r.uniform(0.4, 0.9))
    x = resonate(pink(n, r), r.uniform(1000, 2000), 1500)
    return unit([v * math.sin(math.pi * i / n) for i, v in enumerate(x)])


VARIANTS = ["", "+m1", "+m2", "+m3", "+m4", "+m5", "+m6", "+m7", "+f1", "+f2", "+f3", "+f4", "+f5"]
LANGUAGES = ["es", "es-419", "ca", "pt", "it"]
SONS = [("o", "o"), ("ma", "ma"), ("mama", "mamá"), ("mm", "[[mmmmm]]"), ("a", "a"), ("i", "i")]
# Other words; and voiced syllables sharing a vowel or a consonant with a trained sound.
WORDS = ["si", "tu", "fe", "lupe", "queso", "pa", "luz", "gol", "ca", "dedo", "su", "te", "kiwi", "zapato"]
SHARING = ["mo", "me", "mu", "mi", "no", "na", "po", "lo", "so", "ba", "am", "om", "mono", "nana", "oso", "moto"]


def joc(dest, seed):
    os.makedirs(dest, exist_ok=True)
    # Per voice (a learner: a language, a variant, a pitch and a rate of its
    # own), a training stream of three takes of each sound, the same stream
    # with one stray sound in it (a cough, a noise burst, a thump, a false
    # start; before the first take or between two takes of a middle sound),
    # and a test stream of seven other takes of each among untrained sounds,
    # then a continuous stretch where untrained sounds fall between trained
    # ones. The takes vary as someone's repeating a sound does; some have
    # noise 20 dB under them, and in two of each sound a steady noise starts
    # 0.2 to 0.5 s before it and goes on after. The untrained sounds, each
    # kind marked: other words and syllables sharing a vowel or a consonant
    # with a trained sound, said by the learner and by a voice of another
    # language; bursts of white, pink and brown noise from just above the room
    # to 50 dB over it, coughs, claps, breaths and knocks. Each stream has a
    # room of its own (level, colour of its noise, echoes). A seed makes
    # another set.
    r = random.Random(seed)
    sons = SONS[:4]
    if seed >= 201:
        # From seed 201 a set has 3 to 6 sounds in any order, as a classroom
        # list does; the sets before keep the four they were made with.
        q = random.Random(-seed)
        sons = q.sample(SONS, q.randint(3, 6))

    def voice(languages):
        return r.choice(languages) + r.choice(VARIANTS), r.randint(25, 75), r.randint(120, 230)

    def take(text, who):
        v, pitch, speed = who
        s = espeak(text, pitch + r.randint(-8, 8), int(speed * r.uniform(0.85, 1.15)), v)
        g = 10 ** (-r.uniform(0, 12) / 20)
        return [x * g for x in s]

    def over_room(x, db):
        k = 60 * 10 ** (db / 20)
        return [k * v for v in x]

    def noise_burst(r):
        colour = r.choice([lambda n: [r.gauss(0, 1) for _ in range(n)], lambda n: pink(n, r), lambda n: brown(n, r)])
        x = colour(int(RATE * r.uniform(0.2, 1.0)))
        return envelope(x, r.uniform(0.001, 0.05), r.uniform(0.01, 0.2))

    def knock(r):
        return [x * 0.4 for x in burst(r, RATE // 4, r.uniform(0.9, 0.98), r.uniform(0.02, 0.06))]

    def untrained(who, other, ws, ss, bursts, each):
        out = []
        for kind, texts in [("paraula", ws), ("comuna", ss)]:
            out += [("-", take(w, who), kind) for w in texts] + [("-", take(w, other), kind) for w in texts]
        out += [("-", over_room(noise_burst(r), r.uniform(3, 50)), "esclat") for _ in range(bursts)]
        for _ in range(each):
            out += [("-", over_room(cough(r), r.uniform(20, 45)), "tos"),
                    ("-", over_room(claps(r), r.uniform(25, 50)), "picada"),
                    ("-", over_room(breath(r), r.uniform(8, 30)), "respiracio"),
                    ("-", knock(r), "porta")]
        return out

    def room():
        colour = r.choice([pink, brown, lambda n, r: unit([r.gauss(0, 1) for _ in range(n)])])
        echoes = [(int(RATE * r.uniform(0.005, 0.04)), r.uniform(0.05, 0.4)) for _ in range(r.randint(0, 3))]
        return 60 * 10 ** (r.uniform(-4, 4) / 20), colour(RATE * 7, r), echoes

    for name in ["home", "dona"]:
        who = voice(LANGUAGES)
        other = voice(["es", "ca", "pt", "it", "de", "fr-fr", "en-gb-x-rp", "es-419"])
        beds = {"entrenament": pink(RATE * 4, r), "prova": pink(RATE * 4, r)}

        def said(s, t, bed):
            x = take(t, who)
            if r.random() < 0.3:
                x = [a + b for a, b in zip(x, under(r, bed, x, 20, len(x)))]
            return x

        items = {s: [said(s, t, beds["entrenament"] if k < 3 else beds["prova"]) for k in range(13)] for s, t in sons}
        train = [(s, x, "net") for s, _ in sons for x in items[s][:3]]
        # The stray sound, and where it falls.
        kind = r.choice(["tos", "esclat", "porta", "fals"])
        next_sound = r.choice(sons)
        stray = {"tos": lambda: over_room(cough(r), r.uniform(20, 45)),
                 "esclat": lambda: over_room(noise_burst(r), r.uniform(10, 40)),
                 "porta": lambda: knock(r),
                 "fals": lambda: (lambda x: envelope(x[:int(len(x) * r.uniform(0.25, 0.45))], 0.001, 0.02))(
                     take(next_sound[1], who))}[kind]()
        at = r.choice([0, 3 * r.choice([1, 2]) + 1])
        train_stray = train[:at] + [("-", stray, "estrany_" + kind)] + train[at:]
        test = [(s, x, "abans" if k < 2 else "net") for s, _ in sons for k, x in enumerate(items[s][3:10])]
        test += untrained(who, other, r.sample(WORDS, 6), r.sample(SHARING, 8), 12, 4)
        test.append(("-", [0.0] * (RATE * 2), "silenci"))
        r.shuffle(test)
        # The continuous stretch at the end: untrained sounds close between trained ones.
        stretch = [(s, x) for s, _ in sons for x in items[s][10:]]
        r.shuffle(stretch)
        # As many as the trained takes: more bursts for six sounds.
        others = untrained(who, other, r.sample(WORDS, 2), r.sample(SHARING, 2), max(3, 3 * len(sons) - 12), 1)
        r.shuffle(others)
        for k, (s, x) in enumerate(stretch):
            test += [(s, x, "seguit"), (others[k][0], others[k][1], "seguit")]
        train_room = room()
        for part, parts, rm, bed in [("entrenament", train, train_room, beds["entrenament"]),
                                     ("entrenament_estrany", train_stray, train_room, beds["entrenament"]),
                                     ("prova", test, room(), beds["prova"])]:
            # The same gaps for both training streams.
            g = random.Random(r.random() if part != "entrenament_estrany" else gap_seed)
            if part == "entrenament":
                gap_seed = g.random()
                g = random.Random(gap_seed)
            sig, marks = [], []
            for label, x, kind in parts:
                lead = int(RATE * g.uniform(0.2, 0.5)) if kind == "abans" else 0
                tail = int(RATE * g.uniform(0.3, 1.0)) if kind == "abans" else 0
                sig += [0.0] * (int(RATE * (g.uniform(0.3, 0.6) if kind == "seguit" else g.uniform(0.6, 1.1))) + lead)
                start = len(sig)
                sig += [0.0] * (len(x) + tail)
                for i, a in enumerate(x):
                    sig[start + i] += a
                if lead:
                    start -= lead
                    for i, a in enumerate(under(g, bed, x, g.uniform(15, 20), lead + len(x) + tail)):
                        sig[start + i] += a
                marks.append((label, kind, (start + lead) / RATE, (start + lead + len(x)) / RATE))
            sig += [0.0] * RATE
            level, noise_bed, echoes = rm
            for d, k in echoes:
                sig = [a + k * sig[i - d] if i >= d else a for i, a in enumerate(sig)]
            path = os.path.join(dest, "joc_%s_%s.wav" % (name, part))
            write_room(sig, [level * x for x in noise_bed], path)
            with open(path[:-4] + ".txt", "w") as f:
                for m in marks:
                    f.write("%s %s %.3f %.3f\n" % m)
        for primers in [False, True]:
            estranys(dest, name, seed, who, sons, items, train_room, beds["entrenament"], noise_burst, knock, primers)


def estranys(dest, name, seed, who, sons, items, rm, bed, noise_burst, knock, primers=False):
    # A classroom session: the training takes with 2 to 4 strays of different
    # kinds among them, a take of another trained sound said in place of the
    # one asked for always one of them, then three more takes of each sound
    # for when the window asks again. Lines in the order the teacher says
    # them; a stray's label is the sound being asked for (and a wrong-sound
    # take's kind names the sound said). A random stream of
    # its own, so the other streams stay as they were. With `primers`, one or
    # two sounds each have one stray or two in a row before their first take
    # instead (a noise as "Enregistrar" is pressed, a word said by mistake).
    q = random.Random(7919 * seed + (name == "dona") + 2 * primers)

    def take(text):
        v, pitch, speed = who
        s = espeak(text, pitch + q.randint(-8, 8), int(speed * q.uniform(0.85, 1.15)), v)
        g = 10 ** (-q.uniform(0, 12) / 20)
        x = [a * g for a in s]
        return [a + b for a, b in zip(x, under(q, bed, x, 20, len(x)))] if q.random() < 0.3 else x

    kinds = ["altre"] + q.sample(["tos", "soroll", "fals"], q.choice([1, 2, 3]))
    firsts = []
    if primers:
        kinds = []
        for s in q.sample(sons, q.choice([1, 2])):
            for kind in q.sample(["altre", "tos", "soroll", "fals"], q.choice([1, 2])):
                kinds.append(kind)
                firsts.append(s)
    plan = {s: [(s, x, "net") for x in items[s][:3]] for s, _ in sons}
    for kind in kinds:
        s, t = firsts.pop(0) if firsts else q.choice(sons)
        if kind == "altre":
            u = q.choice([u for _, u in sons if u != t])
            kind += ":" + [n for n, v in sons if v == u][0]
            x = take(u)
        elif kind == "fals":
            x = take(t)
            x = envelope(x[:int(len(x) * q.uniform(0.25, 0.45))], 0.001, 0.02)
        elif kind == "tos":
            x = [a * 60 * 10 ** (q.uniform(20, 45) / 20) for a in cough(q)]
        else:
            x = q.choice([lambda: [a * 60 * 10 ** (q.uniform(10, 40) / 20) for a in noise_burst(q)],
                          lambda: knock(q)])()
        at = sum(k != "net" for _, _, k in plan[s]) if primers else q.randint(0, 2 if kind.startswith("altre") else 3)
        plan[s].insert(at, (s, x, "estrany_" + kind))
    parts = [p for s, _ in sons for p in plan[s]]
    parts += [(s, take(t), "extra") for s, t in sons for _ in range(3)]
    sig, marks = [], []
    for label, x, kind in parts:
        sig += [0.0] * int(RATE * q.uniform(0.6, 1.1))
        marks.append((label, kind, len(sig) / RATE, (len(sig) + len(x)) / RATE))
        sig += x
    sig += [0.0] * RATE
    level, noise_bed, echoes = rm
    for d, k in echoes:
        sig = [a + k * sig[i - d] if i >= d else a for i, a in enumerate(sig)]
    path = os.path.join(dest, "joc_%s_%s.wav" % (name, "primers" if primers else "estranys"))
    write_room(sig, [level * x for x in noise_bed], path)
    with open(path[:-4] + ".txt", "w") as f:
        for m in marks:
            f.write("%s %s %.3f %.3f\n" % m)


def under(r, bed, x, db, n):
    # `n` samples of steady noise `db` under the RMS of `x`.
    k, o = rms(x) * 10 ** (-db / 20), r.randrange(len(bed))
    return [k * bed[(o + i) % len(bed)] for i in range(n)]


def joc_llavor(dest_seed):
    joc(os.path.join(dest_seed[0], dest_seed[1]), int(dest_seed[1]))


def sessio(dest):
    # A training session as it goes in a classroom, for the list "1,2,3,"
    # ("a", "o", "mama"), the teacher saying what the window asks for: a,
    # a cough, a, a pause, a; o, a chair scraped, o, an "a" said by mistake,
    # o; a pause, a false start of "mama", then "mama" four times.
    r = random.Random(44)
    takes = {s: [espeak(s, 50, 150 + 10 * k) for k in range(4)] for s in ["a", "o", "mama"]}
    cough_ = [x * 3000 for x in cough(r)]
    chair = [x * 1500 for x in envelope(pink(int(RATE * 0.6), r), 0.02, 0.1)]
    fals = envelope(takes["mama"][3][:len(takes["mama"][3]) * 3 // 10], 0.001, 0.02)
    a, o, m = takes["a"], takes["o"], takes["mama"]
    parts = [("a", a[0]), ("-", cough_), ("a", a[1]), ("", None), ("a", a[2]), ("o", o[0]), ("-", chair), ("o", o[1]),
             ("-", a[3]), ("o", o[2]), ("", None), ("-", fals)] + [("mama", x) for x in m]
    sig, marks = [0.0] * RATE, []
    for label, x in parts:
        sig += [0.0] * int(RATE * (2.5 if x is None else r.uniform(0.8, 1.0)))
        if x is not None:
            marks.append((label, len(sig) / RATE))
            sig += x
    sig += [0.0] * RATE
    write_room(sig, noise(len(sig), 60), os.path.join(dest, "veu_sessio.wav"))
    with open(os.path.join(dest, "veu_sessio.txt"), "w") as f:
        for label, t in marks:
            f.write("%s %.3f\n" % (label, t))


if len(sys.argv) > 2 and sys.argv[1] == "--sessio":
    sessio(sys.argv[2])
elif len(sys.argv) > 2 and sys.argv[1] == "--joc":
    import multiprocessing
    with multiprocessing.Pool(min(4, os.cpu_count() or 1)) as pool:
        pool.map(joc_llavor, [(sys.argv[2], seed) for seed in sys.argv[3:] or ["25"]])
else:
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
