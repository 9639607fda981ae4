#!/bin/sh
# Makes the program's sound recordings: 15 event sounds and 20 chatter sounds, as small mono
# wave files in resources/sounds. The results are committed, so a build needs neither tool;
# run this again only to change a sound. Needs sox and espeak-ng (Debian packages of the same
# names). Noise is seeded (sox -R), so a run gives the same files again.
set -eu
out="$(cd "$(dirname "$0")/.." && pwd)/resources/sounds"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

RATE=11025
s() { sox -R "$@"; }

# finish NAME FILE: mono, 16-bit, $RATE Hz, silence trimmed, level normalised, and a short
# tail of silence so that even a click lasts a tenth of a second.
finish() {
    s "$2" -r "$RATE" -c 1 -b 16 "$out/$1.wav" silence 1 0.005 0.1% reverse silence 1 0.005 0.1% \
        reverse norm -3 pad 0 0.1
}

# say NAME TEXT [espeak options]: a spoken chatter sound.
say() {
    name="$1"; text="$2"; shift 2
    espeak-ng "$@" -w "$work/$name.raw.wav" "$text"
    finish "$name" "$work/$name.raw.wav"
}

# click FILE LENGTH PITCH: a short knock, the sound of a checker set down on wood.
click() {
    s -n "$1" synth "$2" pinknoise synth "$2" sine mix "$3" fade q 0.001 "$2" "$2" \
        highpass 300 gain -3
}

# ---- event sounds -----------------------------------------------------------------------
# Dice rattling in the cup and rolling out: a run of knocks at uneven gaps.
i=0
for gap in 0.03 0.05 0.02 0.06 0.04 0.03 0.08 0.05 0.11; do
    click "$work/d$i.wav" 0.025 $((1800 + i * 170))
    s -n -r 48000 "$work/g$i.wav" trim 0 "$gap"
    i=$((i + 1))
done
s "$work"/d0.wav "$work"/g0.wav "$work"/d1.wav "$work"/g1.wav "$work"/d2.wav "$work"/g2.wav \
    "$work"/d3.wav "$work"/g3.wav "$work"/d4.wav "$work"/g4.wav "$work"/d5.wav "$work"/g5.wav \
    "$work"/d6.wav "$work"/g6.wav "$work"/d7.wav "$work"/g7.wav "$work"/d8.wav "$work"/g8.wav \
    "$work/dice.wav"
finish DICE "$work/dice.wav"

# A checker moved: one click, with a little room after it.
click "$work/chip.wav" 0.04 900
finish MOVECHIP "$work/chip.wav"

# Borne off: a slide and a drop into the tray.
s -n "$work/slide.wav" synth 0.25 brownnoise fade q 0.05 0.25 0.1 highpass 500 gain -12
click "$work/drop.wav" 0.05 600
s "$work/slide.wav" "$work/drop.wav" "$work/home.wav"
finish MOVEHOME "$work/home.wav"

# This player hit a checker: a hard knock, then the checker rattling onto the bar.
click "$work/hit1.wav" 0.06 400
click "$work/hit2.wav" 0.03 1200
s "$work/hit1.wav" "$work/hit2.wav" "$work/hit2.wav" "$work/putbar.wav"
finish PUTBAR "$work/putbar.wav"

# Another player hit one of ours: a falling "bonk".
s -n "$work/getbar.wav" synth 0.4 triangle 500-150 fade q 0.005 0.4 0.2
finish GETBAR "$work/getbar.wav"

# Somebody arrived: a door chime, ding-dong.
s -n "$work/ding.wav" synth 0.5 sine 880 sine 1760 remix 1,2 fade h 0.005 0.5 0.45
s -n "$work/dong.wav" synth 0.8 sine 698 sine 1396 remix 1,2 fade h 0.005 0.8 0.75
s "$work/ding.wav" "$work/dong.wav" "$work/entered.wav"
finish ENTERED "$work/entered.wav"

# A game started: a rising arpeggio.
for n in 523 659 784 1047; do
    s -n "$work/a$n.wav" synth 0.14 square "$n" fade q 0.005 0.14 0.05 gain -10
done
s "$work/a523.wav" "$work/a659.wav" "$work/a784.wav" "$work/a1047.wav" "$work/start.wav" pad 0 0.2
finish STARTGAME "$work/start.wav"

# The turn clock: a clock tick.
s -n "$work/tick.wav" synth 0.02 sine 2500 fade q 0.001 0.02 0.015 pad 0 0.1
finish TICK "$work/tick.wav"

# Time is up: a buzzer.
s -n "$work/timeup.wav" synth 0.7 square 180 square 183 remix 1,2 fade q 0.01 0.7 0.05 \
    gain -8 lowpass 2000
finish TIMEUP "$work/timeup.wav"

# It is this player's turn: a two-tone bell (classic), a soft plucked chord (new).
s -n "$work/t1.wav" synth 0.35 sine 1046 fade h 0.003 0.35 0.3
s -n "$work/t2.wav" synth 0.6 sine 784 fade h 0.003 0.6 0.55
s "$work/t1.wav" "$work/t2.wav" "$work/turn.wav"
finish TURN "$work/turn.wav"
s -n "$work/turnnew.wav" synth 0.9 pluck 523 pluck 659 pluck 784 remix 1,2,3 fade q 0.002 0.9 0.5
finish TURNNEW "$work/turnnew.wav"

# Choose the doubles: three quick beeps.
s -n "$work/beep.wav" synth 0.08 sine 1320 fade q 0.005 0.08 0.02 pad 0 0.06
s "$work/beep.wav" "$work/beep.wav" "$work/beep.wav" "$work/choose.wav"
finish CHOOSEDOUBLE "$work/choose.wav"

# The host refused a move: a short double buzz.
s -n "$work/inv.wav" synth 0.12 sawtooth 220 fade q 0.005 0.12 0.02 lowpass 1500 pad 0 0.05
s "$work/inv.wav" "$work/inv.wav" "$work/invalid.wav"
finish INVALID "$work/invalid.wav"

# The clicked checker cannot move: a dull low knock.
s -n "$work/unable.wav" synth 0.25 triangle 160-110 fade q 0.005 0.25 0.15
finish UNABLE "$work/unable.wav"

# A game was won: a fanfare.
fan() { s -n "$work/f$1.wav" synth "$2" sawtooth "$3" sawtooth "$4" remix 1,2 fade q 0.01 "$2" 0.04 \
    lowpass 3000 gain -8; }
fan 1 0.15 523 1046
fan 2 0.15 659 1318
fan 3 0.15 784 1568
fan 4 0.3 1047 2093
fan 5 0.15 784 1568
fan 6 0.9 1047 2093
s "$work/f1.wav" "$work/f2.wav" "$work/f3.wav" "$work/f4.wav" "$work/f5.wav" "$work/f6.wav" \
    "$work/winner.wav"
finish WINNER "$work/winner.wav"

# ---- chatter sounds (WAVE1 .. WAVE20, in the order of the chatter menu) ------------------
say WAVE1 "D'oh!" -v en-us -p 30 -s 140
# A cough: two rough bursts.
s -n "$work/c1.wav" synth 0.18 brownnoise synth 0.18 sawtooth mix 120 fade q 0.01 0.18 0.12 \
    bandpass 700 600 gain -2
s -n "$work/cgap.wav" synth 0.12 sine 0 gain -100
s "$work/c1.wav" "$work/cgap.wav" "$work/c1.wav" "$work/cough.wav"
finish WAVE2 "$work/cough.wav"
say WAVE3 "Hello!" -v en-us -s 150
say WAVE4 "Thank you!" -v en-us -s 150
say WAVE5 "Where have you been?" -v en-us -s 160
# Snoring: two slow breaths of rumbling noise.
s -n "$work/snore1.wav" synth 1.2 brownnoise synth 1.2 sawtooth mix 70 tremolo 28 60 \
    fade t 0.5 1.2 0.5 gain -8 lowpass 900
s -n "$work/snore2.wav" synth 0.5 pinknoise fade t 0.2 0.5 0.3 lowpass 2500 gain -14
s "$work/snore1.wav" "$work/snore2.wav" "$work/snore1.wav" "$work/snore.wav"
finish WAVE6 "$work/snore.wav"
say WAVE7 "Ah... ah... ah-choo!" -v en-us -s 150 -p 70
say WAVE8 "Sorry." -v en-us -s 140
say WAVE9 "Welcome!" -v en-us -s 150
say WAVE10 "Yee haa!" -v en-us -s 150 -p 80
say WAVE11 "Yippee!" -v en-us -s 150 -p 85
say WAVE12 "Oh no!" -v en-us -s 130
# Applause: many hands, clapping at rates that never line up.
for r in 9.1 11.3 13.7 15.9 17.2 19.6; do
    s -n "$work/clap$r.wav" synth 2.2 whitenoise tremolo "$r" 100 bandpass 2200 1800 gain -8
done
s -m "$work"/clap*.wav "$work/applause.wav" fade t 0.1 2.2 0.6
finish WAVE13 "$work/applause.wav"
# A car horn.
s -n "$work/honk.wav" synth 0.5 square 392 square 494 remix 1,2 overdrive 10 gain -8 \
    lowpass 2500 fade q 0.01 0.5 0.05
finish WAVE14 "$work/honk.wav"
say WAVE15 "Ooooooh!" -v en-us -s 100 -p 60
# A raspberry: a buzzing, fluttering lip noise.
s -n "$work/razz.wav" synth 0.9 brownnoise synth 0.9 sawtooth mix 90 tremolo 35 80 \
    fade q 0.02 0.9 0.2 gain -8 lowpass 1800
finish WAVE16 "$work/razz.wav"
say WAVE17 "Hooray!" -v en-us -s 140 -p 75
say WAVE18 "ha ha ha ha ha ha" -v en-us+f3 -s 220 -p 90
say WAVE19 "ho ho ho, ha ha ha" -v en-us -s 200 -p 20
say WAVE20 "boo hoo hoo hoo" -v en-us+f2 -s 120 -p 70

# Every sound must be heard and short.
for f in "$out"/*.wav; do
    len=$(soxi -D "$f")
    awk -v l="$len" -v f="$f" 'BEGIN { if (l < 0.1 || l > 4) { print f ": " l " s"; exit 1 } }'
done
ls "$out" | wc -l
