-- Run under valgrind's memcheck: every path that allocates or releases.
SELECT addNat(3,4), d2bNat(10), s2nNat('  -42'), n2sNat(-7), b2dNat('101'), d2bNat_oi('101'), subNat(3,5), addNat(NULL,1);
SELECT addNat('12',4.0), s2nNat(-12), b2dNat(101);
WITH RECURSIVE k(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM k WHERE x < 1000)
  SELECT sum(length(n2sNat(x))), sum(s2nNat(CAST(x AS TEXT))), sum(length(d2bNat(x))), sum(n2sNat_ii(x, CAST(x AS TEXT))) FROM k;
-- Errors, each ending its statement; sqlite3 goes on and exits with 1.
SELECT addNat(1.5, 2);
SELECT addNat(1, 'abc');
SELECT s2nNat(CAST(x'310032' AS TEXT));
SELECT addNat(4294967296, 1);
