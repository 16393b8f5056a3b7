% The predicates against SWI-Prolog's built-ins, side by side in one run:
%   swipl [-O] -p library=build-native/hosts/swipl/library hosts/swipl/bench/bench.pl
% Each figure is the CPU time of one iteration of a between/3
% failure-driven loop, the best of five rounds of a million iterations.
%
% With `instructions MINIMAL`, where MINIMAL is the foreign object built
% from minimal.cpp (build-native/hosts/swipl/bench/minimal.so), it counts
% instead, with callgrind, the instructions each call adds to an iteration
% of the empty loop: each loop runs in a process of its own, counted from
% the loop's start to its end.
:- use_module(library(math_n)).
:- use_module(library(process)).
:- use_module(library(readutil)).
:- initialization(main, main).

loop(empty, N) :- between(1, N, _), fail.
loop(addNat, N) :- between(1, N, X), addNat(X, 4, _), fail.
loop(addNat_check, N) :- between(1, N, X), addNat(X, 4, X), fail.
loop(minimal_add, N) :- between(1, N, X), minimal_add(X, 4, _), fail.
loop(is_plus, N) :- between(1, N, X), _ is X + 4, fail.
loop(logNat, N) :- between(1, N, Y), logNat(10, Y, _), fail.
loop(is_log, N) :- between(1, N, Y), _ is truncate(log(Y) / log(10)), fail.
loop(n2sNat, N) :- between(1, N, X), n2sNat(X, _), fail.
loop(number_string_out, N) :- between(1, N, X), number_string(X, _), fail.
loop(s2nNat, N) :- between(1, N, _), s2nNat("1234567", _), fail.
loop(number_string_in, N) :- between(1, N, _), number_string(_, "1234567"), fail.
loop(_, _).

pair('addNat(X, 4, Z)', addNat, 'Z is X + 4', is_plus).
pair('logNat(10, Y, Z)', logNat, 'Z is truncate(log(Y)/log(10))', is_log).
pair('n2sNat(X, S)', n2sNat, 'number_string(X, S)', number_string_out).
pair('s2nNat("1234567", N)', s2nNat, 'number_string(N, "1234567")', number_string_in).

main :- current_prolog_flag(argv, Argv), main(Argv).

main([]) :-
    ns_per_iteration([empty], [Empty]),
    format("empty loop: ~1f ns per iteration~n", [Empty]),
    format("~w~t~34|~w~t~10+~w~t~36+~w~t~10+~w~n", ['library', ns, 'built-in', ns, ratio]),
    forall(pair(Ours, OurLoop, Theirs, TheirLoop),
           ( ns_per_iteration([OurLoop, TheirLoop], [A, B]), Ratio is A / B,
             format("~w~t~34|~1f~t~10+~w~t~36+~1f~t~10+~2f~n", [Ours, A, Theirs, B, Ratio]) )).
main([instructions, Minimal]) :-
    Count = 200000,
    instructions(empty, Count, Minimal, Empty),
    format("~w~t~20|~w~n", [loop, 'instructions per call']),
    forall(member(Loop, [minimal_add, addNat, addNat_check, is_plus, logNat, is_log, n2sNat, number_string_out,
                         s2nNat, number_string_in]),
           ( instructions(Loop, Count, Minimal, Total), PerCall is (Total - Empty) / Count,
             format("~w~t~20|~1f~n", [Loop, PerCall]) )).
main([loop, Loop, Count, Minimal]) :-
    load_foreign_library(Minimal),
    atom_number(Count, N),
    callgrind_toggle, loop(Loop, N), callgrind_toggle.

% Total: the instructions of a process that runs Loop Count times.
instructions(Loop, Count, Minimal, Total) :-
    current_prolog_flag(executable, Swipl),
    absolute_file_name(library(math_n), Module, [file_type(prolog), access(read)]),
    file_directory_name(Module, Library),
    source_file(main, Bench),
    ( current_prolog_flag(optimise, true) -> Flags = ['-O'] ; Flags = [] ),
    tmp_file(callgrind, Out),
    atom_concat('--callgrind-out-file=', Out, OutOption),
    atom_concat('library=', Library, LibraryOption),
    append([['--tool=callgrind', '--collect-atstart=no', OutOption, Swipl], Flags,
            ['-p', LibraryOption, Bench, loop, Loop, Count, Minimal]], Arguments),
    process_create(path(valgrind), Arguments, [stderr(null), process(Pid)]),
    process_wait(Pid, exit(0)),
    read_file_to_string(Out, Text, []),
    delete_file(Out),
    sub_string(Text, Before, _, _, "\nsummary: "), Start is Before + 10,
    sub_string(Text, Start, _, 0, Rest),
    split_string(Rest, "\n", " ", [Summary|_]),
    number_string(Total, Summary).

% The two loops of a pair alternate, so that both see the same load.
ns_per_iteration(Loops, Ns) :-
    Count = 1000000,
    findall(Times, (between(1, 5, _), maplist(seconds(Count), Loops, Times)), Rounds),
    pairs_best(Rounds, Best),
    maplist([B, N]>>(N is B * 1.0e9 / Count), Best, Ns).

seconds(Count, Loop, T) :-
    statistics(cputime, T0), loop(Loop, Count), statistics(cputime, T1), T is T1 - T0.

pairs_best([Round], Round) :- !.
pairs_best([Round|Rounds], Best) :- pairs_best(Rounds, Rest), maplist([A, B, M]>>(M is min(A, B)), Round, Rest, Best).
