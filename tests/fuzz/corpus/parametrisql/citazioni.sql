SELECT ':X', "a:b" FROM T -- :C
WHERE A=:a AND B=:B_1 /* :D */ AND C=:$x AND :=1 AND D=:A