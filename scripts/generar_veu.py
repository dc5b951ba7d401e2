#!/usr/bin/env python3
# Makes the spoken-sound streams the engine's tests hear: espeak-ng takes at
# random offsets among silence and room noise, as one 16 kHz stream each.
# Run again only to change them (espeak-ng's output changes between versions,
# so the streams are kept as made). Writes WAV; scripts/generar_veu.sh turns
# them into FLAC.
import array, math, os, random, subprocess, sys, tempfile, wave

RATE = 16000
rnd = random.Random(16)


def espeak(text, pitch, speed, voice="es"):
    with tempfile.NamedTemporaryFile(suffix=".wav") as f:
        subprocess.run(["espeak-ng", "-v", voice, "-p", str(pitch), "-s", str(speed), "-w", f.name, text], check=True)
        w = wave.open(f.name)
        src_rate = w.getframerate()
        s = array.array("h", w.readframes(w.getnframes()))
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
    hum = 2 * math.pi * 50 / RATE
    room = noise(len(sig), 60)
    out = array.array("h")
    for i, x in enumerate(sig):
        v = x + room[i] + 40 * math.sin(hum * i)
        out.append(max(-32768, min(32767, int(v))))
    w = wave.open(path, "wb")
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(RATE)
    w.writeframes(out.tobytes())
    w.close()
    with open(path[:-4] + ".txt", "w") as f:
        for label, t in marks:
            f.write("%s %.3f\n" % (label, t))


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


main(sys.argv[1] if len(sys.argv) > 1 else ".")
