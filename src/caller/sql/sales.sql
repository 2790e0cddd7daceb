-- Demo sales for J202P: 100000 sales over the 336 working days of 2025, customers and
-- items cycling through short lists. One statement; the row count is its one literal
-- 100000 (test databases ask for fewer rows by changing it).
INSERT INTO SAJ202T (SALE_NO, SALE_DT, CUST_CD, CUST_NM, ITEM_NM, QTY, PRICE, AMOUNT, REMARK)
WITH RECURSIVE N (I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 100000)
SELECT I, CAST(20250000 + (1 + D / 28) * 100 + 1 + D % 28 AS VARCHAR(8)),
       CASE C WHEN 0 THEN 'C1001' WHEN 1 THEN 'C1002' WHEN 2 THEN 'C1003' WHEN 3 THEN 'C1004'
              WHEN 4 THEN 'C1005' WHEN 5 THEN 'C1006' WHEN 6 THEN 'C1007' ELSE 'C1008' END,
       CASE C WHEN 0 THEN '㈜한빛상사' WHEN 1 THEN '대성물산' WHEN 2 THEN '미래유통' WHEN 3 THEN '동해수산'
              WHEN 4 THEN '서울식품' WHEN 5 THEN '가온전자' WHEN 6 THEN '누리무역' ELSE '청솔농산' END,
       CASE K WHEN 0 THEN '복사용지 A4' WHEN 1 THEN '볼펜 (흑색)' WHEN 2 THEN '사무용 의자' WHEN 3 THEN '모니터 27형'
              WHEN 4 THEN '커피믹스' ELSE '생수 2L' END,
       Q, P, Q * P,
       CASE I % 10 WHEN 0 THEN '월말 정산' WHEN 3 THEN '정기 납품' ELSE NULL END
FROM (SELECT I, ((I - 1) / 298) % 336 AS D, I % 8 AS C, I % 6 AS K, 1 + (I * 7) % 50 AS Q,
             CASE I % 6 WHEN 0 THEN 4500 WHEN 1 THEN 800 WHEN 2 THEN 189000 WHEN 3 THEN 320000
                        WHEN 4 THEN 12500 ELSE 1100 END AS P
      FROM N) S;
